#pragma once

#include <QString>
#include <functional>

// Work given up because the program is ending: nothing to report.
struct TCancelled {};

// The one place errors reach the user: runs a handler and shows whatever it throws
// in a message box with the error's text, so that no error crashes the program or
// passes unseen.
void ReportErrors(const std::function<void()>& handler);
void ShowErrorReport(const QString& text);
