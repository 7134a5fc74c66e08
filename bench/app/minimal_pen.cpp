// The least a pen program does, as the baseline of the real program's CPU
// per pointer move: a full-screen window whose every move paints a piece
// into an image and repaints the piece's rectangle from it. Each release
// prints how many moves the stroke received, so that a benchmark can check
// that its input arrived here.
#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QWidget>

#include <cstdio>

namespace {
class MinimalPen : public QWidget
{
public:
    MinimalPen()
    {
        setWindowTitle(QStringLiteral("Minimal Pen"));
        setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        setAttribute(Qt::WA_OpaquePaintEvent);
        const QScreen *screen = QGuiApplication::primaryScreen();
        image = QImage(screen->size() * screen->devicePixelRatio(),
                       QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(screen->devicePixelRatio());
        image.fill(Qt::white);
        setGeometry(screen->geometry());
    }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        previous = lastMid = event->position();
        moves = 0;
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!(event->buttons() & Qt::LeftButton))
            return;
        const QPointF pt = event->position(), mid = (previous + pt) / 2;
        QPainterPath piece(lastMid);
        piece.quadTo(previous, mid);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(pen);
        painter.drawPath(piece);
        update(piece.controlPointRect().toAlignedRect().adjusted(-3, -3, 3, 3));
        previous = pt;
        lastMid = mid;
        ++moves;
    }
    void mouseReleaseEvent(QMouseEvent *) override
    {
        std::printf("moves %d\n", moves);
        std::fflush(stdout);
    }
    void paintEvent(QPaintEvent *event) override
    {
        // The source rectangle counts the image's own (device) pixels.
        const qreal ratio = image.devicePixelRatio();
        const QRectF source(QPointF(event->rect().topLeft()) * ratio,
                            QSizeF(event->rect().size()) * ratio);
        QPainter painter(this);
        painter.drawImage(event->rect(), image, source);
    }

private:
    QImage image;
    // The program's pen as it starts: black, 3 pixels wide.
    QPen pen { Qt::black, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin };
    QPointF previous, lastMid;
    int moves = 0;
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    MinimalPen window;
    window.show();
    return app.exec();
}
