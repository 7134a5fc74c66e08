// The floor of a capture for a Qt Widgets program: a press on a small
// always-on-top window hides it, waits the capture delay (milliseconds, the
// first argument), grabs the screen and shows the grab in a frameless
// full-screen window. A press there brings the small window back.
#include <QApplication>
#include <QGridLayout>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include <functional>

namespace {
const QString title = QStringLiteral("Minimal Capture");

// A full-screen window showing a picture, closed by a press.
class PictureWindow : public QWidget
{
public:
    std::function<void()> pressed;
    QPixmap picture;

    PictureWindow()
        : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    {
        setWindowTitle(title);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).drawPixmap(0, 0, picture); }
    void mousePressEvent(QMouseEvent *) override { pressed(); }
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int delayMs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;
    QWidget toolbar(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    toolbar.setWindowTitle(title);
    auto *grid = new QGridLayout(&toolbar);
    auto *pen = new QToolButton;
    pen->setText(QStringLiteral("Pen"));
    pen->setFixedSize(48, 48);
    grid->addWidget(pen, 0, 0);
    PictureWindow page;
    page.pressed = [&] {
        page.hide();
        toolbar.show();
    };
    QObject::connect(pen, &QToolButton::pressed, [&] {
        toolbar.hide();
        QTimer::singleShot(delayMs, [&] {
            QScreen *screen = QGuiApplication::primaryScreen();
            page.picture = screen->grabWindow(0);
            page.setGeometry(screen->geometry());
            page.showFullScreen();
        });
    });
    toolbar.show();
    return app.exec();
}
