#include "windowframeoutline.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

namespace {

// One edge of the frame: black dots two pixels long on white, so that the
// frame shows on any window.
class OutlineEdge : public QWidget
{
public:
    OutlineEdge()
        : QWidget(nullptr,
                  Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                      | Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const QPoint origin = geometry().topLeft();
        for (int y = 0; y < height(); ++y) {
            for (int x = 0; x < width(); ++x) {
                if ((origin.x() + x + origin.y() + y) % 4 < 2)
                    painter.fillRect(x, y, 1, 1, Qt::black);
            }
        }
    }
};

} // namespace

WindowFrameOutline::WindowFrameOutline()
{
    for (auto &edge : edges)
        edge = std::make_unique<OutlineEdge>();
}

WindowFrameOutline::~WindowFrameOutline() = default;

void WindowFrameOutline::show(const QRect &rect)
{
    if (rect.width() < 3 || rect.height() < 3) {
        hide();
        return;
    }
    const QRect inner = rect.adjusted(1, 1, -1, -1);
    const std::array<QRect, 4> strips = {
        QRect(inner.left(), inner.top(), inner.width(), 1),
        QRect(inner.left(), inner.bottom(), inner.width(), 1),
        QRect(inner.left(), inner.top(), 1, inner.height()),
        QRect(inner.right(), inner.top(), 1, inner.height()),
    };
    for (size_t i = 0; i < edges.size(); ++i) {
        edges[i]->setGeometry(strips[i]);
        edges[i]->show();
        edges[i]->raise();
    }
}

void WindowFrameOutline::hide()
{
    for (auto &edge : edges)
        edge->hide();
}
