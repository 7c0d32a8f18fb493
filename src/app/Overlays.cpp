#include "app/Overlays.h"

#include <QFont>
#include <QPalette>
#include <QStringList>
#include <algorithm>

const char* const kMouseHelp =
    "Mouse\n"
    "  Left drag      turn and tilt the 3-D graph\n"
    "  Right drag     nearer or farther\n"
    "  Wheel          raise or flatten the heights\n"
    "  Middle click   copy x,y,z of the point under the pointer\n";

// A label stacked above the GL surface, which is a native child window: the label must
// be one too.
QLabel* OverlayLabel(QWidget* parent, int pixels, const char* text, Qt::Alignment align) {
  auto* label = new QLabel(text, parent);
  QFont font("DejaVu Sans Mono");
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(pixels);
  label->setFont(font);
  label->setAlignment(align);
  label->setMargin(4);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, QColor(40, 40, 40));
  palette.setColor(QPalette::WindowText, Qt::white);
  label->setPalette(palette);
  label->setAttribute(Qt::WA_NativeWindow);
  label->hide();
  return label;
}

void ShowInTopCorner(QLabel* label, const QString& text, QPoint pointer) {
  label->setText(text);
  label->adjustSize();
  QRect place(QPoint(6, 6), label->size());
  if (place.adjusted(-8, -8, 8, 8).contains(pointer))
    place.moveRight(label->parentWidget()->width() - 7);
  label->setGeometry(place);
  label->show();
  label->raise();
}

void ShowInMiddle(QLabel* label) {
  label->adjustSize();
  const QWidget* window = label->parentWidget();
  label->move((window->width() - label->width()) / 2, (window->height() - label->height()) / 2);
  label->show();
  label->raise();
}

void ShowInBottomCorner(QLabel* label, const QString& text) {
  const QWidget* window = label->parentWidget();
  const int widest = std::max(1, window->width() - 12 - 2 * label->margin());
  // The font is of one width: lines are broken where they reach the window's edge, at
  // the last space before it where there is one.
  const int most = std::max(8, widest / std::max(1, label->fontMetrics().horizontalAdvance('0')));
  QStringList lines;
  for (QString line : text.split('\n')) {
    while (line.size() > most) {
      const int space = line.lastIndexOf(' ', most);
      const int cut = space > 0 ? space : most;
      lines << line.left(cut);
      line = line.mid(space > 0 ? cut + 1 : cut);
    }
    lines << line;
  }
  label->setText(lines.join('\n'));
  label->adjustSize();
  label->move(6, window->height() - label->height() - 6);
  label->show();
  label->raise();
}
