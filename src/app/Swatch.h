#pragma once

#include <QWidget>
#include <cstdint>

// A paint box that shows one colour field as a chip with a thin black outline.
class TSwatch : public QWidget {
 public:
  TSwatch(const int32_t* color, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const int32_t* color_;
};
