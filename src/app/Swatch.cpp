#include "app/Swatch.h"

#include <QPainter>

#include "core/ColorScale.h"

TSwatch::TSwatch(const int32_t* color, QWidget* parent) : QWidget(parent), color_(color) {
  // The chip covers the whole box, so the panel need not paint behind it.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TSwatch::Refresh() {
  if (!painted_ || ResolveColor(*color_) != shown_) update();
}

void TSwatch::paintEvent(QPaintEvent*) {
  shown_ = ResolveColor(*color_);
  painted_ = true;
  QPainter p(this);
  p.setPen(QPen(Qt::black, 1));
  const TRgb c = UnpackColor(shown_);
  p.setBrush(QColor(c.R, c.G, c.B));
  p.drawRect(0, 0, width() - 1, height() - 1);
}
