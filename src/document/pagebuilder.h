#pragma once

#include "drawinglimits.h"
#include "pageparts.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class MainPage;
class Obj;
class QPixmap;

// Makes the pages of a document of the parts a DocumentReader read, on the
// GUI thread, where pages, objects and pixmaps belong. A page's picture
// becomes its background file; a picture object's decoded pixels are shared
// by every object of the document that shows the same file. What is left
// out is said once.
class PageBuilder
{
public:
    PageBuilder();
    ~PageBuilder();

    // The page, owned by the caller; null when its parts were not read.
    MainPage *build(PageParts &parts);
    // English texts, as DocumentReader::notes().
    QStringList notes() const { return remarks; }

private:
    bool takeBackground(const QString &copy, MainPage *page);
    Obj *create(const PageParts::Part &part);
    void note(const char *text);

    DrawingLimits characters;
    QHash<QString, std::shared_ptr<const QPixmap>> adopted;
    QStringList remarks;
};
