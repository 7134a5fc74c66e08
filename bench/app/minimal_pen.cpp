// The least a pen program does, as the baseline of the real program's CPU
// per pointer move: a full-screen window whose every move paints a piece
// into an image and repaints the piece's rectangle from it. Each release
// prints how many moves the stroke received, so that a benchmark can check
// that its input arrived here.
#include "minimalpenwidget.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>

namespace {
class MinimalPen : public MinimalPenWidget
{
public:
    MinimalPen()
        : MinimalPenWidget(QGuiApplication::primaryScreen()->size()
                               * QGuiApplication::primaryScreen()->devicePixelRatio(),
                           QGuiApplication::primaryScreen()->devicePixelRatio(),
                           // The program's pen as it starts: black, 3 pixels wide.
                           QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin))
    {
        setWindowTitle(QStringLiteral("Minimal Pen"));
        setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        setGeometry(QGuiApplication::primaryScreen()->geometry());
    }

protected:
    void mouseReleaseEvent(QMouseEvent *) override
    {
        std::printf("moves %d\n", moves);
        std::fflush(stdout);
    }
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    MinimalPen window;
    window.show();
    return app.exec();
}
