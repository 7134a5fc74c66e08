#include "picturecheck.h"

#include "app/lang.h"
#include "document/imagesvg.h"
#include "document/safeimagereader.h"

#include <QFile>
#include <QFileInfo>

namespace {

using Refusal = PictureCheck::Refusal;

QString number(qint64 value)
{
    return QString::number(value);
}

QString megabytes(qint64 bytes)
{
    return number(bytes / (qint64(1024) * 1024));
}

QString millionPixels()
{
    return number(SafeImageReader::MaxImageBytes / 4 / 1000000);
}

Refusal pixelRefusal(const QString &strName, const QSize &size)
{
    return { "%1 has %2 x %3 pixels; the largest picture accepted has %4 million pixels "
             "(for example 8192 x 8192).",
             { strName, number(size.width()), number(size.height()), millionPixels() },
             true };
}

// strTemplate: the file's name, its size and the largest size, in MB.
Refusal fileRefusal(const QString &strName, qint64 bytes, qint64 limit, const char *strTemplate)
{
    return { strTemplate, { strName, megabytes(bytes), megabytes(limit) }, true };
}

Refusal svgRefusal(const QString &strName, const SafeImageReader::Header &header)
{
    if (header.fileBytes > SafeImageReader::MaxSvgFileBytes)
        return fileRefusal(strName, header.fileBytes, SafeImageReader::MaxSvgFileBytes,
                           "%1 has %2 MB; the largest SVG file accepted has %3 MB.");
    switch (header.check.verdict) {
    case SvgCheck::TooManyPixels:
        return { "%1 embeds pictures of more than %2 million pixels in all; the largest "
                 "picture accepted has %2 million pixels.",
                 { strName, millionPixels() },
                 true };
    case SvgCheck::OutsideReference:
        return { "%1 refers to other files. Only pictures embedded in an SVG file are "
                 "accepted.",
                 { strName } };
    case SvgCheck::EmbeddedNotPicture:
        return { "%1 embeds something that is not a picture.", { strName } };
    case SvgCheck::EmbeddedFormat:
        return { "%1 embeds a picture in a format that SVG files may not embed here; "
                 "PNG, JPEG, GIF and BMP are accepted.",
                 { strName } };
    case SvgCheck::TooDeep:
        return { "%1 nests its elements too deeply.", { strName } };
    case SvgCheck::NotSvg:
    case SvgCheck::Sound:
        break;
    }
    return {};
}

// A file that cannot give a picture at all, or an empty refusal. A folder
// or a pipe is never opened; a name whose bytes are not UTF-8 arrives with
// replacement characters, and no file is found under it.
Refusal fileFailure(const QString &strFile, const QString &strName)
{
    const QFileInfo info(strFile);
    if (info.exists() && !info.isFile())
        return PictureCheck::unreadable(strName);
    if (!info.exists() && strName.contains(QChar::ReplacementCharacter))
        return { "The name %1 is not valid UTF-8, so Tavelmark cannot open the file. "
                 "Rename it and try again.",
                 { strName } };
    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly))
        return { "%1 cannot be read: %2", { strName, file.errorString() } };
    if (file.size() == 0)
        return { "%1 is empty.", { strName } };
    return {};
}

Refusal svgSizeRefusal(const QString &strName, const QSize &size)
{
    if (size.isEmpty())
        return PictureCheck::unreadable(strName);
    if (size.width() <= ImageSVG::MaxSide && size.height() <= ImageSVG::MaxSide)
        return {};
    return { "%1 is %2 x %3 pixels; an SVG picture may have at most %4 pixels a side.",
             { strName, number(size.width()), number(size.height()), number(ImageSVG::MaxSide) },
             true };
}

} // namespace

// The arguments go in at once, so that a "%2" in a file's name stays as it is.
QString PictureCheck::Refusal::text() const
{
    if (!english)
        return QString();
    const QString message = Lang::single("MessageBox", QLatin1String(english));
    const QStringList &a = arguments;
    switch (a.size()) {
    case 0:
        return message;
    case 1:
        return message.arg(a[0]);
    case 2:
        return message.arg(a[0], a[1]);
    case 3:
        return message.arg(a[0], a[1], a[2]);
    default:
        return message.arg(a[0], a[1], a[2], a[3]);
    }
}

PictureCheck::Refusal PictureCheck::unreadable(const QString &strName)
{
    return { "%1 is not a picture that can be read, or it is damaged.", { strName } };
}

PictureCheck::Refusal PictureCheck::check(const QString &strFile)
{
    const QString name = QFileInfo(strFile).fileName();
    const Refusal failure = fileFailure(strFile, name);
    if (!failure.isAccepted())
        return failure;
    const SafeImageReader::Header header = SafeImageReader::inspect(strFile);
    if (header.svg) {
        const Refusal why = svgRefusal(name, header);
        return why.isAccepted() ? svgSizeRefusal(name, header.size) : why;
    }
    if (header.fileBytes > SafeImageReader::MaxFileBytes)
        return fileRefusal(name, header.fileBytes, SafeImageReader::MaxFileBytes,
                           "%1 has %2 MB; the largest picture file accepted has %3 MB.");
    const QSize size = header.size;
    if (!size.isValid() || size.isEmpty())
        return unreadable(name);
    if (qint64(size.width()) * size.height() * 4 <= SafeImageReader::MaxImageBytes)
        return {};
    return pixelRefusal(name, size);
}
