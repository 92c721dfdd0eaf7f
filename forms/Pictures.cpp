#include "Pictures.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QPoint>
#include <QSvgRenderer>

#include <memory>

namespace forms::Pictures {
namespace {
constexpr int kPointerSize = 32;

// Where each pointer's tip lies, in its 32 x 32 design.
QPoint hotSpot(const QString& name)
{
    static const QHash<QString, QPoint> spots{
        {QStringLiteral("pointer_arrow"), {2, 2}},
        {QStringLiteral("pointer_pen"), {2, 29}},
        {QStringLiteral("pointer_next"), {30, 16}},
    };
    return spots.value(name, QPoint(kPointerSize / 2, kPointerSize / 2));
}

QSvgRenderer* renderer(const QString& name)
{
    static QHash<QString, std::shared_ptr<QSvgRenderer>> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, std::make_shared<QSvgRenderer>(resourcePath(name)));
    return it.value()->isValid() ? it.value().get() : nullptr;
}
} // namespace

QString resourcePath(const QString& name)
{
    return QStringLiteral(":/pictures/%1.svg").arg(name);
}

bool exists(const QString& name)
{
    return !name.isEmpty() && QFile::exists(resourcePath(name));
}

QIcon icon(const QString& name)
{
    // One icon per picture for the whole run: the pixmaps drawn from an icon
    // are cached under that icon's identity, and a new icon at every load of
    // a form would leave Qt 6.4 a key behind for each pixmap it drops.
    static QHash<QString, QIcon> icons;
    auto it = icons.find(name);
    if (it == icons.end())
        it = icons.insert(name, exists(name) ? QIcon(resourcePath(name)) : QIcon());
    return it.value();
}

void paint(QPainter& painter, const QRectF& target, const QString& name)
{
    if (QSvgRenderer* svg = renderer(name))
        svg->render(&painter, target);
}

QCursor pointer(const QString& name)
{
    QSvgRenderer* svg = renderer(name);
    if (!svg)
        return QCursor();
    QPixmap pixmap(kPointerSize, kPointerSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    svg->render(&painter, QRectF(0, 0, kPointerSize, kPointerSize));
    painter.end();
    const QPoint spot = hotSpot(name);
    return QCursor(pixmap, spot.x(), spot.y());
}

} // namespace forms::Pictures
