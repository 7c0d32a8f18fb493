#include "app/Swatch.h"

#include <QPainter>

#include "core/ColorScale.h"

TSwatch::TSwatch(const int32_t* color, QWidget* parent) : QWidget(parent), color_(color) {}

void TSwatch::paintEvent(QPaintEvent*) {
  const uint32_t c = ResolveColor(*color_);
  QPainter p(this);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
  p.drawRect(0, 0, width() - 1, height() - 1);
}
