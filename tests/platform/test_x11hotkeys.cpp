#include "app/appstate.h"
#include "mainwindow/globalhotkeys.h"
#include "platform/platform.h"
#include "testenvironment.h"

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace {

constexpr int VkF8 = 0x77;
constexpr int VkF9 = 0x78;
constexpr int VkF10 = 0x79;
constexpr int VkF11 = 0x7A;
constexpr uint16_t Ctrl = XCB_MOD_MASK_CONTROL;
constexpr uint16_t Shift = XCB_MOD_MASK_SHIFT;
constexpr uint16_t Alt = XCB_MOD_MASK_1;

HotKeyRecord combination(int iVirtualKey, uint16_t modifiers, bool bWin = false)
{
    HotKeyRecord r;
    r.enabled = true;
    r.ctrl = modifiers & Ctrl;
    r.shift = modifiers & Shift;
    r.alt = modifiers & Alt;
    r.win = bWin;
    r.virtualKey = iVirtualKey;
    return r;
}

// Another program on the same display, with its own connection.
class OtherClient
{
public:
    OtherClient()
        : conn(xcb_connect(nullptr, nullptr))
        , root(xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root)
    {
    }
    ~OtherClient() { xcb_disconnect(conn); }

    bool grab(xcb_keycode_t keycode, uint16_t modifiers)
    {
        return check(xcb_grab_key_checked(conn, 0, root, modifiers, keycode, XCB_GRAB_MODE_ASYNC,
                                          XCB_GRAB_MODE_ASYNC));
    }

    void ungrab(xcb_keycode_t keycode, uint16_t modifiers)
    {
        check(xcb_ungrab_key_checked(conn, keycode, root, modifiers));
    }

    // Whether nobody else holds the combination in any lock state; takes it
    // and gives it back at once.
    bool canTake(xcb_keycode_t keycode, uint16_t modifiers, uint16_t numLock)
    {
        bool all = true;
        for (const uint16_t locks :
             { 0, int(XCB_MOD_MASK_LOCK), int(numLock), int(numLock | XCB_MOD_MASK_LOCK) }) {
            if (grab(keycode, modifiers | locks))
                ungrab(keycode, modifiers | locks);
            else
                all = false;
        }
        return all;
    }

    xcb_keycode_t keycode(xcb_keysym_t keySym)
    {
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(conn);
        xcb_keycode_t *found = xcb_key_symbols_get_keycode(symbols, keySym);
        const xcb_keycode_t first = found ? found[0] : 0;
        std::free(found);
        xcb_key_symbols_free(symbols);
        return first;
    }

    uint16_t state()
    {
        auto *reply = xcb_query_pointer_reply(conn, xcb_query_pointer(conn, root), nullptr);
        const uint16_t mask = reply ? reply->mask : 0;
        std::free(reply);
        return mask;
    }

private:
    bool check(xcb_void_cookie_t cookie)
    {
        xcb_generic_error_t *error = xcb_request_check(conn, cookie);
        std::free(error);
        return !error;
    }

    xcb_connection_t *conn;
    xcb_window_t root;
};

// Another client trying, for as long as it lives, to take a combination the
// moment it is free; counts the times it could.
class Poacher
{
public:
    Poacher(xcb_keycode_t keycode, uint16_t modifiers)
        : thread([this, keycode, modifiers] {
            OtherClient client;
            while (!stop) {
                if (client.grab(keycode, modifiers)) {
                    ++taken;
                    client.ungrab(keycode, modifiers);
                }
            }
        })
    {
    }
    ~Poacher()
    {
        stop = true;
        thread.join();
    }

    std::atomic<bool> stop { false };
    std::atomic<int> taken { 0 };

private:
    std::thread thread;
};

// Presses a combination the way the user would, from outside the program.
bool press(const QString &strKeys)
{
    return QProcess::execute(QStringLiteral("xdotool"), { QStringLiteral("key"), strKeys }) == 0;
}

int nextHotKey(QSignalSpy &spy)
{
    if (spy.isEmpty() && !spy.wait(5000))
        return 0;
    return spy.takeFirst().at(0).toInt();
}

} // namespace

class TestX11HotKeys : public QObject
{
    Q_OBJECT

    OtherClient other;
    uint16_t numLock = 0;

    Platform &platform() { return Platform::instance(); }

    void setLocks(bool bNumLock, bool bCapsLock)
    {
        if (bool(other.state() & numLock) != bNumLock)
            QVERIFY(press(QStringLiteral("Num_Lock")));
        if (bool(other.state() & XCB_MOD_MASK_LOCK) != bCapsLock)
            QVERIFY(press(QStringLiteral("Caps_Lock")));
        QTRY_COMPARE(bool(other.state() & numLock), bNumLock);
        QTRY_COMPARE(bool(other.state() & XCB_MOD_MASK_LOCK), bCapsLock);
    }

private Q_SLOTS:
    // The NumLock bit is found by pressing NumLock, independently of the
    // code under test.
    void initTestCase()
    {
        QCOMPARE(platform().name(), QStringLiteral("x11"));
        const uint16_t before = other.state();
        QVERIFY(press(QStringLiteral("Num_Lock")));
        QTRY_VERIFY(other.state() != before);
        numLock = other.state() ^ before;
        QVERIFY(numLock != 0 && numLock != XCB_MOD_MASK_LOCK);
        setLocks(false, false);
    }

    void cleanup()
    {
        for (const int id : { 100, 200, 300, 400 })
            platform().unregisterHotKey(id);
        setLocks(false, false);
    }

    void firesWhateverTheLockKeys()
    {
        QSignalSpy spy(&platform().hotKeyEvents(), &HotKeyEvents::signal_HotKey);
        QVERIFY(platform().registerHotKey(100, combination(VkF9, Ctrl | Shift)));
        for (const bool numOn : { false, true }) {
            for (const bool capsOn : { false, true }) {
                setLocks(numOn, capsOn);
                QVERIFY(press(QStringLiteral("ctrl+shift+F9")));
                QCOMPARE(nextHotKey(spy), 100);
            }
        }
        QCOMPARE(spy.size(), 0);
    }

    // Letters, digits, Alt and Win, and punctuation: "less" sits on its own
    // key and also on shifted comma, and must leave comma alone.
    void keysAndModifiersReachTheirOwnKeys()
    {
        QSignalSpy spy(&platform().hotKeyEvents(), &HotKeyEvents::signal_HotKey);
        QVERIFY(platform().registerHotKey(100, combination('K', Ctrl | Alt)));
        QVERIFY(platform().registerHotKey(200, combination('1', Shift, true)));
        QVERIFY(platform().registerHotKey(300, combination(0xE2, Ctrl)));
        QVERIFY(platform().registerHotKey(400, combination(0xBC, Ctrl)));
        QVERIFY(press(QStringLiteral("ctrl+alt+k")));
        QCOMPARE(nextHotKey(spy), 100);
        QVERIFY(press(QStringLiteral("shift+super+1")));
        QCOMPARE(nextHotKey(spy), 200);
        QVERIFY(press(QStringLiteral("ctrl+comma")));
        QCOMPARE(nextHotKey(spy), 400);
        // Other modifiers held make it another combination.
        QVERIFY(press(QStringLiteral("ctrl+shift+alt+k")));
        QVERIFY(press(QStringLiteral("ctrl+alt+k")));
        QCOMPARE(nextHotKey(spy), 100);
        QCOMPARE(spy.size(), 0);
    }

    void releasedHotKeyGoesQuietAndFreesItsKey()
    {
        QSignalSpy spy(&platform().hotKeyEvents(), &HotKeyEvents::signal_HotKey);
        QVERIFY(platform().registerHotKey(100, combination(VkF9, Ctrl | Shift)));
        QVERIFY(platform().registerHotKey(200, combination(VkF10, Ctrl | Shift)));
        QVERIFY(!other.canTake(other.keycode(XK_F9), Ctrl | Shift, numLock));
        platform().unregisterHotKey(100);
        QVERIFY(other.canTake(other.keycode(XK_F9), Ctrl | Shift, numLock));
        setLocks(true, false);
        QVERIFY(press(QStringLiteral("ctrl+shift+F9")));
        QVERIFY(press(QStringLiteral("ctrl+shift+F10")));
        QCOMPARE(nextHotKey(spy), 200);
        QCOMPARE(spy.size(), 0);
    }

    // Another program holds the combination with NumLock on only: the
    // registration fails as a whole and keeps none of its other lock states.
    void combinationHeldElsewhereIsRefusedWithoutHarm()
    {
        OtherClient holder;
        const xcb_keycode_t f8 = holder.keycode(XK_F8);
        QVERIFY(holder.grab(f8, Ctrl | Alt | numLock));
        QVERIFY(!platform().registerHotKey(300, combination(VkF8, Ctrl | Alt)));
        OtherClient probe;
        QVERIFY(probe.grab(f8, Ctrl | Alt));
        QVERIFY(probe.grab(f8, Ctrl | Alt | XCB_MOD_MASK_LOCK));

        QSignalSpy spy(&platform().hotKeyEvents(), &HotKeyEvents::signal_HotKey);
        // Ctrl+Alt+F-keys switch virtual terminals and never reach clients.
        QVERIFY(platform().registerHotKey(400, combination('P', Ctrl | Alt)));
        QVERIFY(press(QStringLiteral("ctrl+alt+p")));
        QCOMPARE(nextHotKey(spy), 400);
        platform().unregisterHotKey(300);
    }

    void oneCombinationServesOneIdentifier()
    {
        QSignalSpy spy(&platform().hotKeyEvents(), &HotKeyEvents::signal_HotKey);
        QVERIFY(platform().registerHotKey(100, combination(VkF9, Ctrl)));
        QVERIFY(!platform().registerHotKey(200, combination(VkF9, Ctrl)));
        // Registering an identifier again moves it to the new combination.
        QVERIFY(platform().registerHotKey(100, combination(VkF10, Ctrl)));
        QVERIFY(other.canTake(other.keycode(XK_F9), Ctrl, numLock));
        QVERIFY(platform().registerHotKey(200, combination(VkF9, Ctrl)));
        QVERIFY(press(QStringLiteral("ctrl+F10")));
        QCOMPARE(nextHotKey(spy), 100);
        // Codes without a key symbol are refused.
        QVERIFY(!platform().registerHotKey(300, combination(0x10, Ctrl)));
        QVERIFY(!platform().registerHotKey(300, combination(0, Ctrl)));
    }

    void settingsRecordsFireTheirIdentifiers()
    {
        TestEnvironment env;
        AppState::instance().hotKeys[1] = combination(VkF11, Ctrl | Shift);
        GlobalHotKeys hotKeys(platform());
        QSignalSpy spy(&hotKeys, &GlobalHotKeys::signal_HotKey);
        hotKeys.RegisterHotKeys();
        QVERIFY(press(QStringLiteral("ctrl+shift+F11")));
        QCOMPARE(nextHotKey(spy), int(GlobalHotKeys::NewFullScreenCapture));
        hotKeys.UnregisterHotKeys();
        QVERIFY(other.canTake(other.keycode(XK_F11), Ctrl | Shift, numLock));
    }

    // A new layout reaches Qt's connection as a keyboard-extension event only.
    void grabFollowsALayoutSwitch()
    {
        QSignalSpy spy(&platform().hotKeyEvents(), &HotKeyEvents::signal_HotKey);
        const xcb_keycode_t qwertyKey = other.keycode(XK_x);
        QVERIFY(platform().registerHotKey(100, combination('X', Ctrl)));
        QCOMPARE(QProcess::execute(QStringLiteral("setxkbmap"),
                                   { QStringLiteral("us"), QStringLiteral("dvorak") }),
                 0);
        const xcb_keycode_t dvorakKey = other.keycode(XK_x);
        QVERIFY(dvorakKey != qwertyKey);
        QTRY_VERIFY(!other.canTake(dvorakKey, Ctrl, numLock));
        QVERIFY(press(QStringLiteral("ctrl+x")));
        QCOMPARE(nextHotKey(spy), 100);
        QCOMPARE(QProcess::execute(QStringLiteral("setxkbmap"), { QStringLiteral("us") }), 0);
        QTRY_VERIFY(!other.canTake(qwertyKey, Ctrl, numLock));
    }

    // The server announces the keyboard anew for a layout set again, or for
    // the first key from another device, which is often the hotkey's own
    // modifier: the grab must hold throughout, or the press that follows
    // reaches the focused window.
    void holdsThroughKeyboardNotices()
    {
        QSignalSpy spy(&platform().hotKeyEvents(), &HotKeyEvents::signal_HotKey);
        QVERIFY(platform().registerHotKey(100, combination(VkF8, Ctrl)));
        Poacher poacher(other.keycode(XK_F8), Ctrl);
        for (int i = 0; i < 20 && poacher.taken == 0; ++i) {
            QCOMPARE(QProcess::execute(QStringLiteral("setxkbmap"), { QStringLiteral("us") }), 0);
            QVERIFY(press(QStringLiteral("ctrl+F8")));
            QCOMPARE(nextHotKey(spy), 100);
        }
        QCOMPARE(poacher.taken.load(), 0);
    }
};

QTEST_MAIN(TestX11HotKeys)
#include "test_x11hotkeys.moc"
