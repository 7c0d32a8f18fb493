#include "Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

TDialogAnswer::TDialogAnswer(std::function<void(QWidget*)> action) {
  timer_.setInterval(10);
  QObject::connect(&timer_, &QTimer::timeout, [this, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    timer_.stop();
    answered_ = true;
    action(modal);
  });
  timer_.start();
}

TAnswer CancelNextDialog() {
  return std::make_unique<TDialogAnswer>([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
}

TAnswer ChooseFileInNextDialog(const QString& path) {
  return std::make_unique<TDialogAnswer>([path](QWidget* w) {
    // Typed into the name box, as a user would: selectFile() waits for the
    // dialog to list the folder first.
    w->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    static_cast<QDialog*>(w)->accept();
  });
}

TAnswer ChooseColorInNextDialog(int32_t v) {
  return std::make_unique<TDialogAnswer>([v](QWidget* w) {
    auto* d = qobject_cast<QColorDialog*>(w);
    d->setCurrentColor(QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF));
    static_cast<QDialog*>(d)->accept();
  });
}

TAnswer CloseNextErrorReport(QString* text) {
  return std::make_unique<TDialogAnswer>([text](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (text) *text = box ? box->text() : QString("(not a message box)");
    static_cast<QDialog*>(w)->reject();
  });
}
