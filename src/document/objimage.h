#pragma once

#include "obj.h"
#include "resource.h"

// The floating pictures: painted beneath the layer, hit where they are seen
// (rotation included), and the only objects that use `angle`.
class ObjImage : public Obj, public Resource
{
public:
    int hitTest(const QPointF &pt, bool handles) const override;

protected:
    ObjImage() = default;
    explicit ObjImage(const QRectF &r);

    // A copy loads its file again: while the file is unchanged it shares the
    // decoded picture, and once the file is gone it has none.
    Obj *cloneInto(ObjImage *copy) const;
};
