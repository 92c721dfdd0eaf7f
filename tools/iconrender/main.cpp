// Renders the program's SVG icon as a square PNG of the given size, for the
// desktops that still look for fixed sizes in the hicolor theme.
//
//   iconrender <icon.svg> <size> <out.png>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fputs("usage: iconrender <icon.svg> <size> <out.png>\n", stderr);
        return 2;
    }
    bool isNumber = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&isNumber);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!isNumber || size <= 0 || !renderer.isValid()) {
        std::fprintf(stderr, "iconrender: cannot render %s at %s pixels\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "iconrender: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
