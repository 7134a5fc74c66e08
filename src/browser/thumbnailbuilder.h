#pragma once

#include "document/documentsnapshot.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QThreadPool>

#include <atomic>
#include <memory>

// Draws the browser's thumbnails on worker threads from pages copied out on
// the GUI thread, and hands each one back on the GUI thread as soon as it is
// ready, whatever the order.
class ThumbnailBuilder : public QObject
{
    Q_OBJECT
public:
    // Each thumbnail is `icon` logical pixels at `ratio` device pixels per
    // pixel, the page fitted `margin` pixels inside it, framed in `frame`.
    ThumbnailBuilder(const QSize &icon, qreal ratio, int margin, const QColor &frame,
                     QObject *pParent = nullptr);
    // Drops the thumbnails not started and waits for those being drawn.
    ~ThumbnailBuilder() override;

    void start(const QList<PageRecord> &pages);

    // Any thread: the thumbnail the browser shows for `page`.
    static QImage draw(const PageRecord &page, const QSize &icon, qreal ratio, int margin,
                       const QColor &frame);

Q_SIGNALS:
    void signal_Thumbnail(int row, const QImage &thumbnail);
    void signal_Finished();

private:
    void deliver(int row, const QImage &thumbnail);

    QSize icon;
    qreal ratio;
    int margin;
    QColor frame;
    int waiting = 0;
    std::shared_ptr<std::atomic<bool>> stopped;
    QThreadPool pool;
};
