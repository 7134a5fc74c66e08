#include "thumbnailbuilder.h"

#include "app/devicepixels.h"
#include "document/pagerenderer.h"

#include <QPainter>
#include <QThread>

ThumbnailBuilder::ThumbnailBuilder(const QSize &iconSize, qreal pixelRatio, int frameMargin,
                                   const QColor &frameColour, QObject *pParent)
    : QObject(pParent)
    , icon(iconSize)
    , ratio(pixelRatio)
    , margin(frameMargin)
    , frame(frameColour)
    , stopped(std::make_shared<std::atomic<bool>>(false))
{
    pool.setMaxThreadCount(qMax(1, QThread::idealThreadCount()));
}

ThumbnailBuilder::~ThumbnailBuilder()
{
    stopped->store(true);
    pool.clear();
    pool.waitForDone();
}

void ThumbnailBuilder::start(const QList<PageRecord> &pages)
{
    waiting += int(pages.size());
    for (int row = 0; row < pages.size(); ++row) {
        // The result comes back through the event loop; a builder deleted
        // meanwhile takes its queued results along.
        pool.start([this, halt = stopped, page = pages.at(row), row, size = icon,
                    pixelRatio = ratio, room = margin, colour = frame] {
            if (halt->load())
                return;
            const QImage thumbnail = draw(page, size, pixelRatio, room, colour);
            QMetaObject::invokeMethod(
                this, [this, row, thumbnail] { deliver(row, thumbnail); }, Qt::QueuedConnection);
        });
    }
}

void ThumbnailBuilder::deliver(int row, const QImage &thumbnail)
{
    --waiting;
    Q_EMIT signal_Thumbnail(row, thumbnail);
    if (waiting == 0)
        Q_EMIT signal_Finished();
}

QImage ThumbnailBuilder::draw(const PageRecord &page, const QSize &icon, qreal ratio, int margin,
                              const QColor &frame)
{
    QImage thumbnail(DevicePixels::size(icon, ratio), QImage::Format_ARGB32_Premultiplied);
    thumbnail.setDevicePixelRatio(ratio);
    thumbnail.fill(Qt::transparent);
    const QSize room(icon.width() - margin, icon.height() - margin);
    if (page.size.isEmpty() || room.isEmpty())
        return thumbnail;
    const QSize fitted = page.size.scaled(room, Qt::KeepAspectRatio);
    const float factor = float(fitted.width()) / float(page.size.width());
    QImage picture = PageRenderer::renderPage(page, true, float(factor * ratio));
    picture.setDevicePixelRatio(ratio);
    const QSize shown = picture.deviceIndependentSize().toSize();
    const QRect target((icon.width() - shown.width()) / 2, (icon.height() - shown.height()) / 2,
                       shown.width(), shown.height());
    QPainter painter(&thumbnail);
    painter.drawImage(target.topLeft(), picture);
    painter.setPen(frame);
    painter.drawRect(target.adjusted(0, 0, -1, -1));
    return thumbnail;
}
