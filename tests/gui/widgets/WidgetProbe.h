#pragma once

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QWidget>
#include <functional>

// Helpers for looking at what a widget draws and when it draws it.
namespace WidgetProbe {

// The widget drawn on its own, over a transparent background.
inline QImage Render(QWidget &widget, QSize size)
{
    widget.resize(size);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// How many different colours the picture holds; a blank one holds one.
inline int ColourCount(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget &widget) { widget.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// Paints the widget delivers while `change` runs and the event loop settles.
inline int PaintsDuring(QWidget &widget, const std::function<void()> &change)
{
    widget.show();
    QApplication::processEvents();
    PaintCounter counter(widget);
    change();
    QApplication::processEvents();
    return counter.count;
}

} // namespace WidgetProbe
