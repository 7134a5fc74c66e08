#include "screenshotcompare.h"

#include <QPainter>

#include <cstdlib>

namespace {

QImage blocks(const QImage &picture, const QSize &size)
{
    return picture.convertToFormat(QImage::Format_RGB32)
        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool differs(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) > ScreenshotCompare::Tolerance
        || std::abs(qGreen(a) - qGreen(b)) > ScreenshotCompare::Tolerance
        || std::abs(qBlue(a) - qBlue(b)) > ScreenshotCompare::Tolerance;
}

} // namespace

ScreenshotCompare::ScreenshotCompare(const QImage &committedPicture, const QImage &freshPicture)
    : committed(committedPicture.convertToFormat(QImage::Format_RGB32))
    , fresh(freshPicture.convertToFormat(QImage::Format_RGB32))
{
    if (committed.isNull() || fresh.isNull()) {
        why = QStringLiteral("a picture could not be read");
        return;
    }
    const QSize a = committed.size();
    const QSize b = fresh.size();
    if (std::abs(a.width() - b.width()) > SizeSlack
        || std::abs(a.height() - b.height()) > SizeSlack) {
        why = QStringLiteral("the size is %1 x %2, the committed picture's %3 x %4")
                  .arg(b.width())
                  .arg(b.height())
                  .arg(a.width())
                  .arg(a.height());
        return;
    }
    compareBlocks();
}

void ScreenshotCompare::compareBlocks()
{
    const QSize grid((committed.width() + Block - 1) / Block,
                     (committed.height() + Block - 1) / Block);
    const QImage before = blocks(committed, grid);
    const QImage after = blocks(fresh, grid);
    marks = QImage(grid, QImage::Format_ARGB32);
    marks.fill(Qt::transparent);
    for (int y = 0; y < grid.height(); ++y) {
        for (int x = 0; x < grid.width(); ++x) {
            if (differs(before.pixel(x, y), after.pixel(x, y))) {
                marks.setPixel(x, y, qRgba(255, 0, 0, 255));
                ++differing;
            }
        }
    }
    allowed = qMax(MinBudget, grid.width() * grid.height() * BudgetPerMille / 1000);
    if (differing > allowed)
        why = QStringLiteral("%1 blocks of %2 x %2 pixels differ, %3 may")
                  .arg(differing)
                  .arg(Block)
                  .arg(allowed);
}

QImage ScreenshotCompare::diffImage() const
{
    const int gap = 8;
    const int width = committed.width() + fresh.width() * 2 + gap * 2;
    const int height = qMax(committed.height(), fresh.height());
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.drawImage(0, 0, committed);
    p.drawImage(committed.width() + gap, 0, fresh);
    const QPoint third(committed.width() + fresh.width() + gap * 2, 0);
    p.setOpacity(0.3);
    p.drawImage(third, fresh);
    p.setOpacity(1.0);
    if (!marks.isNull())
        p.drawImage(QRect(third, marks.size() * Block), marks);
    return sheet;
}
