#pragma once

#include <string_view>

enum class TPictureOutput { Clipboard, Jpeg, Bitmap };

// An empty name means the clipboard; an extension of .JPG or .JPEG in any letter
// case a JPEG file; anything else, no extension included, a BMP file. The
// extension is the last path component from its last full stop on.
TPictureOutput PictureOutputFor(std::string_view fileName);
