#include "detailanim.h"

#include "app/appstate.h"
#include "app/resourcepixmap.h"
#include "widgets/focusring.h"

#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace {

// ":/Res/Loading" holds the animation as a strip of square frames.
constexpr int FrameCount = 8;
constexpr int FrameInterval = 90;

} // namespace

DetailAnim::DetailAnim(QWidget *pParent)
    : QAbstractButton(pParent)
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
    // A click needs no focus ring; Tab gives the keyboard once it is a button.
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::toggled, this, [this](bool bOpen) {
        update();
        Q_EMIT signal_Click(bOpen);
    });
}

DetailAnim::State DetailAnim::state() const
{
    if (!isCheckable())
        return Loading;
    return isChecked() ? NotesOpen : NotesClosed;
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
    {
        const QSignalBlocker quiet(this);
        setChecked(false);
        setCheckable(false);
    }
    setFocusPolicy(Qt::NoFocus);
    frame = 0;
    showFrame();
    spinner->show();
    frameTimer->start();
    update();
}

void DetailAnim::stop()
{
    {
        const QSignalBlocker quiet(this);
        setCheckable(true);
        setChecked(false);
    }
    setFocusPolicy(Qt::TabFocus);
    spinner->hide();
    frameTimer->stop();
    update();
}

bool DetailAnim::hitButton(const QPoint &pos) const
{
    return state() != Loading && QAbstractButton::hitButton(pos);
}

void DetailAnim::paintEvent(QPaintEvent *)
{
    if (state() == Loading)
        return;
    const AppState &s = AppState::instance();
    const QPixmap arrow = ResourcePixmap::load(isChecked() ? QStringLiteral(":/Res/Dropdown")
                                                           : QStringLiteral(":/Res/Dropdown2"));
    const int side = s.scaled(12);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, s.scaled(100) > 100);
    painter.drawPixmap((width() - side) / 2, (height() - side) / 2, side, side, arrow);
    if (hasFocus())
        FocusRing::paint(painter, rect(), this);
}
