#include "ui/pictures.h"

#include <QPainter>
#include <QSvgRenderer>

namespace tessarin {

QString pictureResourcePath(const char* name) {
    return QStringLiteral(":/images/") + QString::fromUtf8(name) + QStringLiteral(".svg");
}

QPixmap renderPicture(const QString& resource) {
    QSvgRenderer renderer(resource);
    if (!renderer.isValid()) return {};
    QPixmap pixmap(renderer.defaultSize());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QIcon applicationIcon() {
    QIcon icon;
    icon.addPixmap(renderPicture(QString::fromLatin1(kIconLarge)));
    icon.addPixmap(renderPicture(QString::fromLatin1(kIconSmall)));
    return icon;
}

}  // namespace tessarin
