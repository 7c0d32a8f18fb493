#include "Dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

namespace {

// A dialog that never reaches the wanted state is given up rather than waited on
// for ever; the test then fails on Answered().
constexpr int kMaxTries = 3000;

}  // namespace

TDialogAnswer::TDialogAnswer(std::function<bool(QWidget*)> action) {
  timer_.setInterval(10);
  QObject::connect(&timer_, &QTimer::timeout, [this, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    if (action(modal)) {
      timer_.stop();
      answered_ = true;
    } else if (++tries_ >= kMaxTries) {
      timer_.stop();
      static_cast<QDialog*>(modal)->reject();
    }
  });
  timer_.start();
}

TAnswer CancelNextDialog() {
  return std::make_unique<TDialogAnswer>([](QWidget* w) {
    static_cast<QDialog*>(w)->reject();
    return true;
  });
}

TAnswer ChooseFileInNextDialog(const QString& path) {
  return std::make_unique<TDialogAnswer>([path](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    if (!d) return false;
    // The name box adds a typed name to what is selected in the list unless it has
    // the keyboard, so the selection the dialog kept from last time goes first.
    if (auto* list = d->findChild<QAbstractItemView*>("listView"))
      list->selectionModel()->clearSelection();
    d->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    QString expected = QDir::cleanPath(path);
    if (QFileInfo(expected).suffix().isEmpty() && !d->defaultSuffix().isEmpty())
      expected += "." + d->defaultSuffix();
    if (d->selectedFiles() != QStringList{expected}) return false;
    static_cast<QDialog*>(d)->accept();
    return true;
  });
}

TAnswer ChooseColorInNextDialog(int32_t v) {
  return std::make_unique<TDialogAnswer>([v](QWidget* w) {
    auto* d = qobject_cast<QColorDialog*>(w);
    if (!d) return false;
    d->setCurrentColor(QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF));
    static_cast<QDialog*>(d)->accept();
    return true;
  });
}

TAnswer CloseNextErrorReport(QString* text) {
  return std::make_unique<TDialogAnswer>([text](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (text) *text = box ? box->text() : QString("(not a message box)");
    static_cast<QDialog*>(w)->reject();
    return true;
  });
}
