#pragma once

// What the viewer, kesto-render and the tests set up once the application object
// exists: system colours taken from the toolkit's palette, memory kept for reuse
// rather than handed back after every large piece of work, and a file-size limit
// reported as a failed write. No application display name is set, so that window
// managers show each caption exactly as written.
void PrepareApplication();
