#include "x11screengrab.h"

#include "nativecoordinates.h"

#include <QImage>
#include <QScreen>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <unistd.h>

namespace {
void detach(void *memory)
{
    shmdt(memory);
}

const xcb_screen_t *rootScreen(xcb_connection_t *connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
}

// Pictures read here come 32 bits per pixel, least significant byte first.
bool readable(xcb_connection_t *connection)
{
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const uint8_t depth = rootScreen(connection)->root_depth;
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || (depth != 24 && depth != 32))
        return false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == depth)
            return it.data->bits_per_pixel == 32;
    return false;
}
} // namespace

X11ScreenGrab::X11ScreenGrab(xcb_connection_t *connection, QScreen *screen,
                             std::function<QPixmap()> grabNow)
    : ScreenGrab(std::move(grabNow))
    , connection(connection)
    , screen(screen)
    , area(screen ? nativeArea() : QRect())
    , ratio(screen ? screen->devicePixelRatio() : 1.0)
{
    if (!area.isEmpty() && readable(connection) && !share())
        release();
}

X11ScreenGrab::~X11ScreenGrab()
{
    if (asked && memory)
        std::free(xcb_shm_get_image_reply(connection, cookie, nullptr));
    release();
}

void X11ScreenGrab::ask()
{
    if (!memory || !screen || nativeArea() != area) {
        release();
        ScreenGrab::ask();
        return;
    }
    asked = true;
    cookie = request();
    xcb_flush(connection);
}

QPixmap X11ScreenGrab::take()
{
    if (!asked)
        return ScreenGrab::take();
    asked = false;
    xcb_generic_error_t *error = nullptr;
    xcb_shm_get_image_reply_t *reply = xcb_shm_get_image_reply(connection, cookie, &error);
    const bool complete = reply && !error;
    std::free(reply);
    std::free(error);
    if (!complete)
        return QPixmap();
    // The pad byte of a 24-bit pixel is undefined; RGB32 wants it opaque.
    auto *pixels = reinterpret_cast<quint32 *>(memory);
    const qsizetype count = qsizetype(area.width()) * area.height();
    for (qsizetype i = 0; i < count; ++i)
        pixels[i] |= 0xff000000u;
    xcb_shm_detach(connection, segment);
    segment = 0;
    QImage image(std::exchange(memory, nullptr), area.width(), area.height(),
                 qsizetype(area.width()) * 4, QImage::Format_RGB32, detach, pixels);
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(std::move(image));
}

// A private segment, touched page by page and attached by the server, then
// marked for removal so that it goes with the last detach.
bool X11ScreenGrab::share()
{
    auto *version
        = xcb_shm_query_version_reply(connection, xcb_shm_query_version(connection), nullptr);
    if (!version)
        return false;
    std::free(version);
    const size_t bytes = size_t(area.width()) * area.height() * 4;
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0)
        return false;
    void *attached = shmat(id, nullptr, 0);
    if (attached == reinterpret_cast<void *>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return false;
    }
    memory = static_cast<uchar *>(attached);
    const long page = sysconf(_SC_PAGESIZE);
    for (size_t at = 0; at < bytes; at += size_t(page))
        memory[at] = 0;
    segment = xcb_generate_id(connection);
    xcb_generic_error_t *error = xcb_request_check(
        connection, xcb_shm_attach_checked(connection, segment, uint32_t(id), 0));
    shmctl(id, IPC_RMID, nullptr);
    const bool shared = !error;
    std::free(error);
    if (!shared) {
        segment = 0;
        return false;
    }
    // A first picture, thrown away, has the server map the pages too.
    xcb_discard_reply(connection, request().sequence);
    xcb_flush(connection);
    return true;
}

void X11ScreenGrab::release()
{
    if (segment)
        xcb_shm_detach(connection, segment);
    if (memory)
        shmdt(memory);
    segment = 0;
    memory = nullptr;
    xcb_flush(connection);
}

xcb_shm_get_image_cookie_t X11ScreenGrab::request()
{
    return xcb_shm_get_image(connection, rootScreen(connection)->root, int16_t(area.x()),
                             int16_t(area.y()), uint16_t(area.width()), uint16_t(area.height()),
                             ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, segment, 0);
}

QRect X11ScreenGrab::nativeArea() const
{
    const xcb_screen_t *root = rootScreen(connection);
    return NativeCoordinates::screenRect(screen)
        & QRect(0, 0, root->width_in_pixels, root->height_in_pixels);
}
