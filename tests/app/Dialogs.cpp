#include "Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QLineEdit>
#include <memory>

std::shared_ptr<bool> AnswerNextDialog(std::function<void(QWidget*)> action) {
  auto done = std::make_shared<bool>(false);
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, action, done] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    *done = true;
    action(modal);
  });
  timer->start();
  return done;
}

std::shared_ptr<bool> CancelNextDialog() {
  return AnswerNextDialog([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
}

std::shared_ptr<bool> ChooseFileInNextDialog(const QString& path) {
  return AnswerNextDialog([path](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    // Typed into the name box, as a user would: selectFile() waits for the
    // dialog to list the folder first.
    d->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    static_cast<QDialog*>(d)->accept();
  });
}

std::shared_ptr<bool> ChooseColorInNextDialog(int32_t v) {
  return AnswerNextDialog([v](QWidget* w) {
    auto* d = qobject_cast<QColorDialog*>(w);
    d->setCurrentColor(QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF));
    static_cast<QDialog*>(d)->accept();
  });
}

std::shared_ptr<bool> CloseNextErrorReport(QString* text) {
  return AnswerNextDialog([text](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (text) *text = box ? box->text() : QString("(not a message box)");
    static_cast<QDialog*>(w)->reject();
  });
}
