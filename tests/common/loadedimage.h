#pragma once

#include <QRectF>
#include <QString>

// A picture object of type T loaded from `file`, placed at `r` and turned by
// `angle` degrees, as a document holds it.
template<class T>
T *loadedImage(const QString &file, const QRectF &r, float angle)
{
    auto *image = new T(r);
    image->load(file);
    image->rect = r;
    image->centre = r.center();
    image->setAngle(angle);
    return image;
}
