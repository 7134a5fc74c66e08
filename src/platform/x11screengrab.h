#pragma once

#include "screengrab.h"

#include <QPointer>
#include <QRect>
#include <QScreen>

#include <xcb/shm.h>
#include <xcb/xcb.h>

// A grab of one screen's rectangle of the root window through shared memory
// (MIT-SHM), asked on the program's own connection. The memory is made and
// touched when the grab is made ready, so that neither the X server nor the
// program waits on fresh pages while the user waits; the page then keeps
// that memory as its picture. The server carries out one connection's
// requests in order, so a window the program maps after asking cannot
// appear in the picture. Where the server cannot share memory with the
// program (a remote display) or the screen changed meanwhile, it grabs
// through Qt when asked.
class X11ScreenGrab : public ScreenGrab
{
public:
    X11ScreenGrab(xcb_connection_t *connection, QScreen *screen, std::function<QPixmap()> grabNow);
    ~X11ScreenGrab() override;

    void ask() override;
    QPixmap take() override;

private:
    bool share();
    xcb_shm_get_image_cookie_t request();
    void release();
    QRect nativeArea() const;

    xcb_connection_t *connection;
    QPointer<QScreen> screen;
    QRect area;
    qreal ratio;
    xcb_shm_seg_t segment = 0;
    uchar *memory = nullptr;
    bool asked = false;
    xcb_shm_get_image_cookie_t cookie {};
};
