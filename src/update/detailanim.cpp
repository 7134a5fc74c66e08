#include "detailanim.h"

#include "app/appstate.h"
#include "app/resourcepixmap.h"

#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace {

// ":/Res/Loading" holds the animation as a strip of square frames.
constexpr int FrameCount = 8;
constexpr int FrameInterval = 90;

} // namespace

DetailAnim::DetailAnim(QWidget *pParent)
    : QWidget(pParent)
    , spinner(new QLabel(this))
    , frameTimer(new QTimer(this))
    , frames(ResourcePixmap::load(QStringLiteral(":/Res/Loading")))
{
    const int side = AppState::instance().scaled(18);
    setFixedSize(side, side);
    spinner->setGeometry(0, 0, side, side);
    spinner->setAlignment(Qt::AlignCenter);
    frameTimer->setInterval(FrameInterval);
    connect(frameTimer, &QTimer::timeout, this, [this] {
        frame = (frame + 1) % FrameCount;
        showFrame();
    });
}

void DetailAnim::showFrame()
{
    const int side = frames.height();
    const QPixmap picture = frames.copy(frame * side, 0, side, side);
    spinner->setPixmap(
        picture.scaled(spinner->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void DetailAnim::start()
{
    current = Loading;
    frame = 0;
    showFrame();
    spinner->show();
    frameTimer->start();
    update();
}

void DetailAnim::stop()
{
    current = NotesClosed;
    spinner->hide();
    frameTimer->stop();
    update();
}

void DetailAnim::mouseReleaseEvent(QMouseEvent *)
{
    if (current == Loading)
        return;
    const bool open = current == NotesClosed;
    current = open ? NotesOpen : NotesClosed;
    update();
    Q_EMIT signal_Click(open);
}

void DetailAnim::paintEvent(QPaintEvent *)
{
    if (current == Loading)
        return;
    const AppState &s = AppState::instance();
    const QPixmap arrow
        = ResourcePixmap::load(current == NotesOpen ? QStringLiteral(":/Res/Dropdown")
                                                    : QStringLiteral(":/Res/Dropdown2"));
    const int side = s.scaled(12);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, s.scaled(100) > 100);
    painter.drawPixmap((width() - side) / 2, (height() - side) / 2, side, side, arrow);
}
