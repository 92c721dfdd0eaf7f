#pragma once

#include <QCursor>
#include <QIcon>
#include <QString>

class QPainter;
class QRectF;

namespace forms {

// The program's pictures are SVG resources, rendered at whatever size a
// control has, so they stay crisp on any screen.
namespace Pictures {

QString resourcePath(const QString& name);
bool exists(const QString& name);
QIcon icon(const QString& name);
void paint(QPainter& painter, const QRectF& target, const QString& name);

// A mouse pointer drawn from the picture of that name, 32 pixels square,
// with its hot spot where the picture's tip is.
QCursor pointer(const QString& name);

} // namespace Pictures
} // namespace forms
