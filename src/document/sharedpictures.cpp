#include "sharedpictures.h"

#include "safeimagereader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QSvgRenderer>
#include <QThread>

SharedPictures &SharedPictures::instance()
{
    static SharedPictures pictures;
    return pictures;
}

SharedPictures::Stamp SharedPictures::stampOf(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? Stamp { info.size(), info.lastModified() } : Stamp();
}

bool SharedPictures::shares()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

SharedPictures::Held *SharedPictures::find(const QString &path, const Stamp &stamp)
{
    const auto it = held.find(path);
    if (it != held.end() && it->stamp == stamp)
        return &*it;
    forgetUnused();
    Held &fresh = held[path];
    fresh = Held { stamp, {}, {} };
    return &fresh;
}

// Entries no object uses any more go, at a cost spread over the insertions.
void SharedPictures::forgetUnused()
{
    if (held.size() < 2 * prunedAt + 16)
        return;
    for (auto it = held.begin(); it != held.end();) {
        if (it->pixmap.expired() && it->renderer.expired())
            it = held.erase(it);
        else
            ++it;
    }
    prunedAt = held.size();
}

std::shared_ptr<const QPixmap> SharedPictures::pixmap(const QString &path)
{
    const Stamp stamp = stampOf(path);
    const auto make = [&path] {
        return std::make_shared<const QPixmap>(QPixmap::fromImage(SafeImageReader::read(path)));
    };
    if (!shares() || stamp.size < 0)
        return make();
    Held *entry = find(path, stamp);
    std::shared_ptr<const QPixmap> shared = entry->pixmap.lock();
    if (!shared) {
        shared = make();
        entry->pixmap = shared;
    }
    return shared;
}

std::shared_ptr<const QPixmap> SharedPictures::adopt(const QString &path, const QImage &decoded)
{
    auto shared = std::make_shared<const QPixmap>(QPixmap::fromImage(decoded));
    const Stamp stamp = stampOf(path);
    if (shares() && stamp.size >= 0)
        find(path, stamp)->pixmap = shared;
    return shared;
}

std::shared_ptr<QSvgRenderer> SharedPictures::renderer(const QString &path)
{
    const Stamp stamp = stampOf(path);
    // The renderer sees only checked bytes, never the file: it would resolve
    // references next to it.
    const auto make = [&path]() -> std::shared_ptr<QSvgRenderer> {
        const QByteArray document = SafeImageReader::readSvg(path);
        return document.isEmpty() ? nullptr : std::make_shared<QSvgRenderer>(document);
    };
    if (!shares() || stamp.size < 0)
        return make();
    Held *entry = find(path, stamp);
    std::shared_ptr<QSvgRenderer> shared = entry->renderer.lock();
    if (!shared) {
        shared = make();
        entry->renderer = shared;
    }
    return shared;
}
