#include "forms/pictures.h"
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace forms {

QPixmap picture(const QString &path, const QSize &size)
{
    if (!path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QPixmap source(path);
        return size.isValid() ? source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              : source;
    }
    QSvgRenderer renderer(path);
    const QSize logical = size.isValid() ? size : renderer.defaultSize();
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(logical * ratio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon icon(const QString &path)
{
    QIcon result;
    for (int side : {16, 24, 32, 48, 64, 128})
        result.addPixmap(picture(path, QSize(side, side)));
    return result;
}

} // namespace forms
