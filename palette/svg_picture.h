#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace vendigo {

// One of the program's drawn pictures (":/pictures/<name>.svg") as a pixmap of the given size,
// sharp on screens of the given pixel ratio. An empty pixmap when the picture cannot be read.
QPixmap SvgPicture(const QString &name, QSize size, qreal pixelRatio = 1.0);

}  // namespace vendigo
