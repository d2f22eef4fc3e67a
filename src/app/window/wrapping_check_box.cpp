#include "app/window/wrapping_check_box.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace vx::app {

void WrappingCheckBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  // The style draws the box (and the focus frame); the caption is drawn
  // here, wrapped at word boundaries within what is left of the width.
  option.text.clear();
  painter.drawControl(QStyle::CE_CheckBox, option);
  option.text = caption;
  const QRect area = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, caption);
}

}  // namespace vx::app
