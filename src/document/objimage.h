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

    // A copy reads its file again, so it owns its own picture.
    Obj *cloneInto(ObjImage *copy) const;
};
