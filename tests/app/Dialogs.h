#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

// Answers the next modal dialog from the event loop it runs in: the action gets
// the dialog once it is shown. Returns a flag that turns true when it was answered.
std::shared_ptr<bool> AnswerNextDialog(std::function<void(QWidget*)> action);

// The common answers.
std::shared_ptr<bool> CancelNextDialog();
std::shared_ptr<bool> ChooseFileInNextDialog(const QString& path);
std::shared_ptr<bool> ChooseColorInNextDialog(int32_t colorValue);
// Closes the next error report and keeps its text.
std::shared_ptr<bool> CloseNextErrorReport(QString* text);
