// Renders an SVG source picture into a PNG of the given size; without a
// height the picture is square.
// usage: rasterize in.svg out.png width [height]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: rasterize in.svg out.png width [height]\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    const int width = QString::fromLatin1(argv[3]).toInt();
    const int height = argc == 5 ? QString::fromLatin1(argv[4]).toInt() : width;
    if (!renderer.isValid() || width <= 0 || width > 4096 || height <= 0 || height > 4096)
        return 1;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
