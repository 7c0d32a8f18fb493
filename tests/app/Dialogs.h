#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Answers the next modal dialog from the event loop it runs in: the action gets the
// dialog once it is shown. Waiting ends when the answer is dropped, so that an
// unanswered wait never reaches a later test's dialog.
class TDialogAnswer {
 public:
  explicit TDialogAnswer(std::function<void(QWidget*)> action);
  bool Answered() const { return answered_; }

 private:
  QTimer timer_;
  bool answered_ = false;
};

using TAnswer = std::unique_ptr<TDialogAnswer>;

[[nodiscard]] TAnswer CancelNextDialog();
[[nodiscard]] TAnswer ChooseFileInNextDialog(const QString& path);
[[nodiscard]] TAnswer ChooseColorInNextDialog(int32_t colorValue);
// Closes the next error report and keeps its text.
[[nodiscard]] TAnswer CloseNextErrorReport(QString* text);
