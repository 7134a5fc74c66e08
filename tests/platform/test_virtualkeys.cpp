#include "platform/virtualkeys.h"

#include <QtTest>

#include <X11/keysym.h>

class TestVirtualKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Letters and digits unshifted, the ends of the function and numpad
    // ranges, and punctuation as on the US layout.
    void codesMapToTheirKeySyms()
    {
        const QList<QPair<int, uint32_t>> pairs
            = { { 'A', XK_a },      { 'Z', XK_z },           { '0', XK_0 },
                { '9', XK_9 },      { 0x70, XK_F1 },         { 0x87, XK_F24 },
                { 0x60, XK_KP_0 },  { 0x6F, XK_KP_Divide },  { 0xBA, XK_semicolon },
                { 0xC0, XK_grave }, { 0xDE, XK_apostrophe }, { 0xE2, XK_less } };
        for (const auto &[code, keySym] : pairs)
            QCOMPARE(VirtualKeys::toKeySym(code), keySym);
    }

    // Modifier keys, mouse buttons and gaps between the ranges have no key.
    void codesWithoutAKeyAreRefused()
    {
        for (const int code : { 0x00, 0x01, 0x07, 0x10, 0x3A, 0x5E, 0x88, 0xA0, 0xFF, 0x100, -1 })
            QVERIFY2(VirtualKeys::toKeySym(code) == 0, qPrintable(QString::number(code, 16)));
    }
};

QTEST_APPLESS_MAIN(TestVirtualKeys)
#include "test_virtualkeys.moc"
