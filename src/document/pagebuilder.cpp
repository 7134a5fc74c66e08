#include "pagebuilder.h"

#include "documentnotes.h"
#include "mainpage.h"
#include "obj.h"
#include "objtext.h"
#include "sharedpictures.h"

#include <QFile>
#include <QPixmap>
#include <QTextDocument>

PageBuilder::PageBuilder() = default;

PageBuilder::~PageBuilder() = default;

MainPage *PageBuilder::build(PageParts &parts)
{
    if (!parts.read)
        return nullptr;
    auto *page = new MainPage(parts.size, false);
    page->setPixels(parts.pixels, parts.ratio);
    page->colour = parts.colour;
    if (!parts.background.isEmpty() && !takeBackground(parts.background, page))
        note(DocumentNotes::BadPictures);
    if (parts.pdf) {
        page->background = MainPage::PdfBackground;
        page->pdf = parts.pdf;
        page->pdfPage = parts.pdfPage;
    }
    QList<Obj *> objects;
    characters.startPage();
    for (const PageParts::Part &part : std::as_const(parts.objects))
        if (Obj *obj = create(part))
            objects.append(obj);
    page->appendObjects(objects, false);
    page->modified = false;
    return page;
}

// The checked copy becomes the page's picture file.
bool PageBuilder::takeBackground(const QString &copy, MainPage *page)
{
    const QString target = MainPage::backgroundFile(page->id);
    QFile::remove(target);
    if (!QFile::rename(copy, target)) {
        QFile::remove(copy);
        return false;
    }
    page->background = MainPage::PictureBackground;
    return true;
}

// Null when the object cannot be made, or when its text passes what the
// page lays out.
Obj *PageBuilder::create(const PageParts::Part &part)
{
    if (!part.picture.isNull() && !adopted.contains(part.file))
        adopted.insert(part.file, SharedPictures::instance().adopt(part.file, part.picture));
    Obj *obj = part.record.create(part.file);
    if (!obj) {
        note(DocumentNotes::BadObjects);
        return nullptr;
    }
    const auto *text = obj->kind == KindText ? static_cast<const ObjText *>(obj) : nullptr;
    if (text && !characters.admitCharacters(text->document->characterCount() - 1)) {
        delete obj;
        note(DocumentNotes::TooMuchDrawing);
        return nullptr;
    }
    return obj;
}

void PageBuilder::note(const char *text)
{
    const QString said = QLatin1String(text);
    if (!remarks.contains(said))
        remarks.append(said);
}
