#pragma once

#include "canvas/mainview.h"
#include "document/objimage.h"

#include <QList>

// The pictures on the view's current page, in painting order.
inline QList<ObjImage *> pageImages(const MainView *pView)
{
    QList<ObjImage *> found;
    if (pView->currentPage())
        for (Obj *obj : pView->currentPage()->objects)
            if (auto *image = dynamic_cast<ObjImage *>(obj))
                found.append(image);
    return found;
}
