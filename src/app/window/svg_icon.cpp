#include "app/window/svg_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace vx::app {

QIcon ShippedIcon(const QString& name, int pixels) {
  QSvgRenderer renderer(QStringLiteral(":/vxorel/%1.svg").arg(name));
  if (!renderer.isValid() || pixels <= 0) return QIcon();
  QIcon icon;
  // Sharp on screens that scale by two as well.
  for (const int size : {pixels, 2 * pixels}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace vx::app
