#include "palette/svg_picture.h"

#include <QPainter>
#include <QSvgRenderer>

namespace vendigo {

QPixmap SvgPicture(const QString &name, QSize size, qreal pixelRatio) {
  QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
  if (!renderer.isValid()) return {};
  QPixmap pixmap(size * pixelRatio);
  pixmap.setDevicePixelRatio(pixelRatio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
  return pixmap;
}

}  // namespace vendigo
