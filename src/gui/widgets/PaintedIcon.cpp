#include "gui/widgets/PaintedIcon.h"

#include <QPainter>
#include <QPixmap>

QIcon PaintedIcon(QSize designSize, const std::function<void(QPainter &)> &paint)
{
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        QPixmap pixmap(designSize * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
