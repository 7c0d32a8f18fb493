#include "app/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>
#include <new>

void ShowErrorReport(const QString& text) {
  QMessageBox box(QMessageBox::Critical, "Kesto", text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setObjectName("ErrorReport");
  box.exec();
}

void ReportErrors(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const TCancelled&) {
  } catch (const std::bad_alloc&) {
    ShowErrorReport(
        "There is not enough memory for this: the grid is too large for the memory "
        "available.");
  } catch (const std::exception& e) {
    ShowErrorReport(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    ShowErrorReport("An unexpected error occurred.");
  }
}
