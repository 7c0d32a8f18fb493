#pragma once

#include <QWidget>
#include <cstdint>

// A paint box that shows one colour field as a chip with a thin black outline.
class TSwatch : public QWidget {
 public:
  TSwatch(const int32_t* color, QWidget* parent);

  // Asks for a repaint when the field holds another colour than the chip shows, so
  // that repainting the panel never leads to more repaints.
  void Refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const int32_t* color_;
  uint32_t shown_ = 0;
  bool painted_ = false;
};
