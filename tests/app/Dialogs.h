#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Answers the next modal dialog from the event loop it runs in. The action is tried
// on the dialog once it is shown, and again on later turns of its event loop until
// it reports that it answered: a dialog may still be setting itself up (listing a
// folder, restoring a selection) when it first appears. Waiting ends when the
// answer is dropped, so that an unanswered wait never reaches a later test's dialog.
class TDialogAnswer {
 public:
  explicit TDialogAnswer(std::function<bool(QWidget*)> action);
  bool Answered() const { return answered_; }

 private:
  QTimer timer_;
  bool answered_ = false;
  int tries_ = 0;
};

using TAnswer = std::unique_ptr<TDialogAnswer>;

[[nodiscard]] TAnswer CancelNextDialog();
// Types the name as a user would and accepts once the dialog would return exactly it.
[[nodiscard]] TAnswer ChooseFileInNextDialog(const QString& path);
[[nodiscard]] TAnswer ChooseColorInNextDialog(int32_t colorValue);
// Closes the next error report and keeps its text.
[[nodiscard]] TAnswer CloseNextErrorReport(QString* text);
