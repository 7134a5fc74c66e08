#include "guidebook.h"

#include "shortcuttext.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextImageFormat>
#include <QTextTable>

namespace {

// The widest picture, 160 mm, in the layout's units (pixels at 96 per inch);
// printing adds 2 cm margins of its own to the 210 mm of the page.
constexpr qreal TextWidth = 160.0 / 25.4 * 96.0;
// Screenshots shown a little smaller than on screen, as print is read closer.
constexpr qreal Scale = 0.75;

} // namespace

bool GuideBook::markdown(const QString &strRoot, const QString &strLanguage,
                         const QString &strTables, QString &text, QString &error)
{
    if (!readChapters(QDir(strRoot).filePath(strLanguage), text, error))
        return false;
    ShortcutText keys;
    const QString names = strLanguage == QLatin1String("en")
        ? QString()
        : QDir(strTables).filePath(strLanguage + QStringLiteral(".xml"));
    return keys.loadNames(names, error) && keys.expand(text, error);
}

bool GuideBook::load(const QString &strRoot, const QString &strLanguage, const QString &strTables,
                     QString &error)
{
    QString text;
    if (!markdown(strRoot, strLanguage, strTables, text, error))
        return false;
    // Chinese characters come from the second family, the rest from the first.
    QFont font;
    font.setFamilies({ QStringLiteral("Liberation Sans"), QStringLiteral("WenQuanYi Micro Hei") });
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setBaseUrl(QUrl::fromLocalFile(QDir(strRoot).absolutePath() + QLatin1Char('/')));
    document.setMarkdown(text, QTextDocument::MarkdownDialectGitHub);
    breakBeforeChapters();
    widenTables();
    return fitPictures(strRoot, error);
}

bool GuideBook::readChapters(const QString &strFolder, QString &markdown, QString &error)
{
    QFile list(QDir(strFolder).filePath(QStringLiteral("chapters.txt")));
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = list.fileName() + QStringLiteral(": ") + list.errorString();
        return false;
    }
    const QStringList names = QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : names) {
        const QString name = line.trimmed();
        if (name.isEmpty() || name.startsWith(QLatin1Char('#')))
            continue;
        QFile chapter(QDir(strFolder).filePath(name));
        if (!chapter.open(QIODevice::ReadOnly | QIODevice::Text)) {
            error = chapter.fileName() + QStringLiteral(": ") + chapter.errorString();
            return false;
        }
        markdown += QString::fromUtf8(chapter.readAll()) + QStringLiteral("\n\n");
    }
    if (markdown.isEmpty())
        error = list.fileName() + QStringLiteral(" lists no chapter");
    return !markdown.isEmpty();
}

void GuideBook::breakBeforeChapters()
{
    bool first = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 1)
            continue;
        if (!first) {
            QTextCursor cursor(block);
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.setBlockFormat(format);
        }
        first = false;
    }
}

// Markdown gives a table only the width of its longest words, which left the
// keys table's cells too tight to wrap; across the text they have room.
void GuideBook::widenTables()
{
    const QList<QTextFrame *> frames = document.rootFrame()->childFrames();
    for (QTextFrame *frame : frames) {
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        table->setFormat(format);
    }
}

bool GuideBook::fitPictures(const QString &strRoot, QString &error)
{
    // Collected first: changing a format may merge the fragments being walked.
    QList<QPair<int, QTextImageFormat>> pictures;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat())
                pictures.append({ fragment.position(), fragment.charFormat().toImageFormat() });
        }
    }
    for (auto &[position, format] : pictures) {
        const QString path = QDir(strRoot).filePath(format.name());
        const QImage picture(path);
        if (picture.isNull()) {
            error = path + QStringLiteral(": no picture");
            return false;
        }
        document.addResource(QTextDocument::ImageResource, QUrl(format.name()), picture);
        const qreal width = qMin(TextWidth, picture.width() * Scale);
        format.setWidth(width);
        format.setHeight(width * picture.height() / picture.width());
        QTextCursor cursor(&document);
        cursor.setPosition(position);
        cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
    return true;
}

QByteArray GuideBook::pdf()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(document.begin().text());
        writer.setCreator(QStringLiteral("Tavelmark"));
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        document.print(&writer);
    }
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b"));
    pages = int(QString::fromLatin1(buffer.data()).count(page));
    return buffer.data();
}
