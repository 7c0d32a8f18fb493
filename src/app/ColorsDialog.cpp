#include "app/ColorsDialog.h"

#include <QColor>
#include <QFormLayout>
#include <QHBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "core/ColorRange.h"
#include "core/ColorScale.h"
#include "core/DisplayOptions.h"
#include "core/NumberField.h"

namespace {

QString ColorText(int32_t value) {
  const TRgb c = UnpackColor(ResolveColor(value));
  return QColor(c.R, c.G, c.B).name();
}

// A field's number: an empty field is nothing (an end left to the heights); false
// where the text is not a number.
bool ReadNumber(const QLineEdit* field, bool emptyAllowed, double& v) {
  const QString text = field->text().trimmed();
  if (text.isEmpty()) {
    v = std::nan("");
    return emptyAllowed;
  }
  bool ok = false;
  v = text.toDouble(&ok);
  return ok && std::isfinite(v);
}

bool ReadColor(const QLineEdit* field, int32_t& v) {
  const QColor c(field->text().trimmed());
  if (!c.isValid() || !field->text().trimmed().startsWith('#')) return false;
  v = int32_t(PackColor(c.red(), c.green(), c.blue()));
  return true;
}

}  // namespace

TColorsDialog::TColorsDialog(QWidget* parent, TKestoState& state, std::function<void()> applied)
    : QDialog(parent), state_(state), applied_(std::move(applied)) {
  setWindowTitle("Colours");
  setModal(false);
  auto* form = new QFormLayout(this);
  const auto withAuto = [&](QLineEdit*& field, QPushButton*& button) {
    auto* row = new QHBoxLayout;
    field = new QLineEdit(this);
    field->setPlaceholderText("auto");
    button = new QPushButton("Auto", this);
    connect(button, &QPushButton::clicked, field, &QLineEdit::clear);
    row->addWidget(field);
    row->addWidget(button);
    return row;
  };
  form->addRow("Low", withAuto(E_Low, Bt_AutoLow));
  form->addRow("High", withAuto(E_High, Bt_AutoHigh));
  CB_Scale = new QComboBox(this);
  CB_Scale->addItems({"linear", "log"});
  form->addRow("Scale", CB_Scale);
  E_Steps = new QLineEdit(this);
  E_Steps->setToolTip("0: continuous; else 2 to 256");
  form->addRow("Steps", E_Steps);
  CB_OutOfRange = new QComboBox(this);
  CB_OutOfRange->addItems({"clamp", "clip", "colours"});
  form->addRow("Beyond the range", CB_OutOfRange);
  E_Under = new QLineEdit(this);
  form->addRow("Below", E_Under);
  E_Over = new QLineEdit(this);
  form->addRow("Above", E_Over);
  E_Azimuth = new QLineEdit(this);
  form->addRow("Light azimuth", E_Azimuth);
  E_Altitude = new QLineEdit(this);
  form->addRow("Light altitude", E_Altitude);
  E_ZFactor = new QLineEdit(this);
  E_ZFactor->setToolTip("the heights against x and y in the hillshade of the flat map");
  form->addRow("Height factor (map)", E_ZFactor);
  L_Reason = new QLabel(this);
  L_Reason->setWordWrap(true);
  form->addRow(L_Reason);
  Bt_Apply = new QPushButton("Apply", this);
  Bt_Apply->setDefault(true);
  connect(Bt_Apply, &QPushButton::clicked, this, &TColorsDialog::Apply);
  form->addRow(Bt_Apply);
  Fill();
}

void TColorsDialog::Fill() {
  const auto end = [](double v) {
    return std::isfinite(v) ? QString::fromStdString(ShortestText(v)) : QString();
  };
  E_Low->setText(end(state_.RangeLow));
  E_High->setText(end(state_.RangeHigh));
  CB_Scale->setCurrentIndex(state_.ColorScale == 1 ? 1 : 0);
  E_Steps->setText(QString::number(state_.ColorSteps));
  CB_OutOfRange->setCurrentIndex(std::clamp(state_.OutOfRange, 0, 2));
  E_Under->setText(ColorText(state_.UnderColor));
  E_Over->setText(ColorText(state_.OverColor));
  E_Azimuth->setText(QString::fromStdString(ShortestText(state_.LightAzimuth)));
  E_Altitude->setText(QString::fromStdString(ShortestText(state_.LightAltitude)));
  E_ZFactor->setText(QString::fromStdString(ShortestText(state_.ZFactor)));
  Refuse(nullptr, {});
}

void TColorsDialog::Refuse(QLineEdit* field, const QString& reason) {
  for (QLineEdit* f : {E_Low, E_High, E_Steps, E_Under, E_Over, E_Azimuth, E_Altitude, E_ZFactor})
    f->setStyleSheet(f == field ? "border: 2px solid #d00000" : "");
  L_Reason->setText(reason);
  if (field) field->setFocus();
}

void TColorsDialog::Apply() {
  // Tried on a stand-in with the graph's heights; the graph changes only if all is well.
  TKestoState trial;
  trial.ZMin = state_.ZMin, trial.ZMax = state_.ZMax, trial.ZPositiveMin = state_.ZPositiveMin;
  CopyColorOptions(state_, trial);
  double low = 0, high = 0, steps = 0, azimuth = 0, altitude = 0;
  if (!ReadNumber(E_Low, true, low)) return Refuse(E_Low, "The low end is not a number.");
  if (!ReadNumber(E_High, true, high)) return Refuse(E_High, "The high end is not a number.");
  if (!ReadNumber(E_Steps, false, steps))
    return Refuse(E_Steps, "The steps must be 0 (continuous) or a whole number from 2 to 256.");
  if (!ReadColor(E_Under, trial.UnderColor))
    return Refuse(E_Under, "The colour below the range is not written #RRGGBB.");
  if (!ReadColor(E_Over, trial.OverColor))
    return Refuse(E_Over, "The colour above the range is not written #RRGGBB.");
  if (!ReadNumber(E_Azimuth, false, azimuth))
    return Refuse(E_Azimuth, "The light's azimuth is not a number.");
  if (!ReadNumber(E_Altitude, false, altitude))
    return Refuse(E_Altitude, "The light's altitude is not a number.");
  if (!ReadNumber(E_ZFactor, false, trial.ZFactor) || !(trial.ZFactor > 0))
    return Refuse(E_ZFactor, "The height factor must be a number above 0.");
  QLineEdit* at = E_Low;
  try {
    display_option_detail::SetColorRange(trial, std::array{low, high});
    at = E_Steps;
    trial.ColorSteps = 0;
    if (steps != 0) display_option_detail::SetColorSteps(trial, std::array{steps});
    at = E_Altitude;
    trial.Hillshade = 0;
    display_option_detail::SetHillshade(trial, std::array{azimuth, altitude});
  } catch (const std::invalid_argument& e) {
    return Refuse(at, QString::fromStdString(e.what()) + ".");
  }
  trial.ColorScale = CB_Scale->currentIndex();
  trial.OutOfRange = CB_OutOfRange->currentIndex();
  if (const std::string problem = TColorRange::Problem(trial); !problem.empty())
    return Refuse(E_Low, QString::fromStdString(problem) + ".");
  trial.Hillshade = state_.Hillshade;  // the dialog sets the light, H turns it on
  trial.NormalizeView();
  CopyColorOptions(trial, state_);
  Refuse(nullptr, {});
  if (applied_) applied_();
}
