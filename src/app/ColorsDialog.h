#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "core/ViewState.h"

// The "Colours" dialog (key R): the colour range, its scale and steps, heights beyond
// it, and the hillshade's light and, for the map, its height factor. It stays open beside the
// graph; nothing changes until Apply, and a field that cannot be taken is marked with the reason,
// nothing applied.
class TColorsDialog : public QDialog {
 public:
  // applied: the graph's colour options have changed.
  TColorsDialog(QWidget* parent, TKestoState& state, std::function<void()> applied);

  // The fields as the graph has them.
  void Fill();

  QLineEdit *E_Low, *E_High, *E_Steps, *E_Under, *E_Over, *E_Azimuth, *E_Altitude, *E_ZFactor;
  QComboBox *CB_Scale, *CB_OutOfRange;
  QPushButton *Bt_AutoLow, *Bt_AutoHigh, *Bt_Apply;
  QLabel* L_Reason;

 private:
  void Apply();
  // The field the reason is about, marked; none: every mark goes.
  void Refuse(QLineEdit* field, const QString& reason);

  TKestoState& state_;
  std::function<void()> applied_;
};
