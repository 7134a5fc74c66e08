#include "sessionwriter.h"

#include "documentwriter.h"
#include "mainpage.h"
#include "pdfsource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>

const char SessionWriter::IndexName[] = "session.json";

namespace {

constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

// The objects of a page name their moved pieces by the files beside the
// page's own.
void renamePieces(QJsonObject *page, const QHash<QString, QString> &names)
{
    const QLatin1String key("picture");
    QJsonArray objects = page->value(QLatin1String("objects")).toArray();
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        QJsonObject o = it->toObject();
        const QString renamed = names.value(o.value(key).toString());
        if (!renamed.isEmpty()) {
            o.insert(key, renamed);
            *it = o;
        }
    }
    page->insert(QLatin1String("objects"), objects);
}

bool replaceFile(const QString &fresh, const QString &target)
{
    std::error_code code;
    std::filesystem::rename(QFile::encodeName(fresh).toStdString(),
                            QFile::encodeName(target).toStdString(), code);
    return !code;
}

} // namespace

bool SessionWriter::Key::operator==(const Key &o) const
{
    return revision == o.revision && size == o.size && pixelSize == o.pixelSize
        && pixelRatio == o.pixelRatio && background == o.background && colour == o.colour
        && pictureFile == o.pictureFile && pdfFile == o.pdfFile && pdfPage == o.pdfPage;
}

SessionWriter::SessionWriter(const QString &strFolder)
    : dir(strFolder)
{
}

QString SessionWriter::indexFile() const
{
    return QDir(dir).filePath(QLatin1String(IndexName));
}

bool SessionWriter::write(const DocumentSnapshot &snapshot)
{
    // No pages, no session: there is nothing to offer back.
    if (snapshot.pages.isEmpty())
        return remove();
    // The session was removed from under us (a left one answered No, say):
    // nothing written before is there any more.
    if (named && !QFileInfo::exists(indexFile()))
        forget();
    if (!QFileInfo::exists(dir)
        && !(QDir().mkpath(dir) && QFile::setPermissions(dir, OwnerOnly | QFile::ExeOwner)))
        return false;
    QHash<int, Written> next;
    QStringList files, fresh;
    QSet<QString> shown;
    if (!writePdfs(snapshot, &shown, &fresh)) {
        discard(fresh);
        return false;
    }
    for (const PageRecord &page : snapshot.pages) {
        Written written = pages.value(page.id);
        if (!(written.key == keyOf(page)) && !writePage(page, &written, &fresh)) {
            discard(fresh);
            return false;
        }
        next.insert(page.id, written);
        files.append(written.file);
    }
    if (!writeIndex(snapshot, files, &fresh)) {
        discard(fresh);
        return false;
    }
    pages = next;
    pdfs = shown;
    const QSet<QString> keep = namedFiles();
    removeUnnamed(keep);
    named = keep;
    return !killed;
}

bool SessionWriter::remove()
{
    forget();
    if (!QFileInfo::exists(dir))
        return true;
    if (!step() || (QFileInfo::exists(indexFile()) && !QFile::remove(indexFile())))
        return false;
    removeUnnamed({});
    return !killed && QDir().rmdir(dir);
}

SessionWriter::Key SessionWriter::keyOf(const PageRecord &page)
{
    return { page.revision,    page.size,
             page.pixelSize,   page.pixelRatio,
             page.background,  page.colour,
             page.pictureFile, page.pdf ? page.pdf->fileName() : QString(),
             page.pdfPage };
}

// A PDF the folder does not hold yet is written beside and renamed into
// place; one it holds is never written again. A failed write takes away only
// what it added: a PDF of the same bytes that an earlier run's index names
// stays.
bool SessionWriter::writePdfs(const DocumentSnapshot &snapshot, QSet<QString> *shown,
                              QStringList *fresh)
{
    for (const PageRecord &page : snapshot.pages) {
        if (page.background != MainPage::PdfBackground || !page.pdf)
            continue;
        const QString name = page.pdf->fileName();
        if (shown->contains(name))
            continue;
        shown->insert(name);
        if (pdfs.contains(name))
            continue;
        const QString part = name + QStringLiteral(".part");
        const bool existed = QFileInfo::exists(QDir(dir).filePath(name));
        fresh->append(part);
        if (!writeFile(part, page.pdf->bytes()) || !step()
            || !replaceFile(QDir(dir).filePath(part), QDir(dir).filePath(name)))
            return false;
        fresh->removeLast();
        if (!existed)
            fresh->append(name);
    }
    return true;
}

// The index and what it names.
QSet<QString> SessionWriter::namedFiles() const
{
    QSet<QString> files { QLatin1String(IndexName) };
    for (const Written &w : pages) {
        files.insert(w.file);
        for (const QString &piece : w.pieces)
            files.insert(piece);
    }
    return files.unite(pdfs);
}

// The pieces first: the page's file names them.
bool SessionWriter::writePage(const PageRecord &page, Written *written, QStringList *fresh)
{
    QList<DocumentWriter::Entry> entries;
    QJsonObject o = DocumentWriter::pageObject(page, DocumentWriter::Referenced, &entries);
    const QString stem = freshStem(page.id, page.revision);
    QHash<QString, QString> names;
    QStringList pieces;
    for (const DocumentWriter::Entry &e : std::as_const(entries)) {
        pieces.append(QStringLiteral("%1-moved-%2.png").arg(stem).arg(pieces.size() + 1));
        names.insert(e.name, pieces.last());
        fresh->append(pieces.last());
        if (!writeFile(pieces.last(), DocumentWriter::encodePixels(e.image)))
            return false;
    }
    if (!names.isEmpty())
        renamePieces(&o, names);
    *written = { keyOf(page), stem + QStringLiteral(".json"), pieces };
    fresh->append(written->file);
    return writeFile(written->file, QJsonDocument(o).toJson(QJsonDocument::Compact));
}

// A name no file has: the index on disk names none of its kind, so nothing
// it names is written over.
QString SessionWriter::freshStem(int pageId, quint64 revision) const
{
    const QString base = QStringLiteral("page-%1-%2").arg(pageId).arg(revision);
    QString stem = base;
    for (int k = 2; QFileInfo::exists(QDir(dir).filePath(stem + QStringLiteral(".json"))); ++k)
        stem = QStringLiteral("%1-%2").arg(base).arg(k);
    return stem;
}

bool SessionWriter::writeIndex(const DocumentSnapshot &snapshot, const QStringList &files,
                               QStringList *fresh)
{
    QJsonObject root;
    root.insert(QLatin1String("format"), QLatin1String("tavelmark"));
    root.insert(QLatin1String("version"),
                QJsonArray { DocumentWriter::majorOf(snapshot), DocumentWriter::Minor });
    root.insert(QLatin1String("nextNumber"), snapshot.nextNumber);
    if (!snapshot.documentPath.isEmpty())
        root.insert(QLatin1String("documentPath"), snapshot.documentPath);
    const QJsonArray listed = DocumentWriter::pdfList(snapshot, DocumentWriter::Referenced);
    if (!listed.isEmpty())
        root.insert(QLatin1String("pdfs"), listed);
    root.insert(QLatin1String("pages"), QJsonArray::fromStringList(files));
    const QString part = QLatin1String(IndexName) + QStringLiteral(".part");
    fresh->append(part);
    return writeFile(part, QJsonDocument(root).toJson(QJsonDocument::Compact)) && step()
        && replaceFile(QDir(dir).filePath(part), indexFile());
}

// Every byte written, or false: a full disk may take fewer without an error.
bool SessionWriter::writeFile(const QString &name, const QByteArray &bytes)
{
    if (!step() || bytes.isEmpty())
        return false;
    QFile file(QDir(dir).filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    file.setPermissions(OwnerOnly);
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return file.flush();
}

// What the index does not name; before the first write, whatever the folder
// holds besides (a session left by an earlier run, a write cut short).
void SessionWriter::removeUnnamed(const QSet<QString> &keep)
{
    const QStringList all = named ? QStringList(named->cbegin(), named->cend())
                                  : QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : all) {
        if (keep.contains(name))
            continue;
        if (!step())
            return;
        QFile::remove(QDir(dir).filePath(name));
    }
}

void SessionWriter::forget()
{
    pages.clear();
    pdfs.clear();
    named.reset();
}

// A failed write leaves none of its files; a killed one leaves what it left.
void SessionWriter::discard(const QStringList &files)
{
    if (killed)
        return;
    for (const QString &name : files)
        QFile::remove(QDir(dir).filePath(name));
}

bool SessionWriter::step()
{
    if (killed || stepsLeft == 0) {
        killed = true;
        return false;
    }
    if (stepsLeft > 0)
        --stepsLeft;
    return true;
}
