#pragma once
// A check box whose caption wraps onto a second line when the box is too
// narrow for it, as "Stampa tutto in grassetto" must in its two-line slot.

#include <QCheckBox>

namespace vx::app {

class WrappingCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vx::app
