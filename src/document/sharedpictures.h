#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

#include <memory>

class QImage;
class QPixmap;
class QSvgRenderer;

// Decoded pictures shared by every object that shows the same file, so that
// a picture named by many objects, or copied, is decoded and held once. Only
// the objects hold them: a picture goes with its last user. A file counts as
// the same while its size and time are; one that changed or went away is
// read again. Sharing happens on the GUI thread, where the objects live; a
// worker's objects get pictures of their own.
class SharedPictures
{
public:
    static SharedPictures &instance();

    // The raster picture of the file, empty when it cannot be used.
    std::shared_ptr<const QPixmap> pixmap(const QString &path);
    // `decoded`, the picture of the file as a worker read it, becomes the one
    // shared for the file while the answer is held.
    std::shared_ptr<const QPixmap> adopt(const QString &path, const QImage &decoded);
    // The renderer of the checked SVG document of the file, or null.
    std::shared_ptr<QSvgRenderer> renderer(const QString &path);

private:
    struct Stamp
    {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp &other) const
        {
            return size == other.size && modified == other.modified;
        }
    };
    struct Held
    {
        Stamp stamp;
        std::weak_ptr<const QPixmap> pixmap;
        std::weak_ptr<QSvgRenderer> renderer;
    };

    static Stamp stampOf(const QString &path);
    static bool shares();
    Held *find(const QString &path, const Stamp &stamp);
    void forgetUnused();

    QHash<QString, Held> held;
    qsizetype prunedAt = 0;
};
