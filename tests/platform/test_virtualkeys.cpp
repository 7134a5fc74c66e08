#include "platform/virtualkeys.h"

#include <QtTest>

#include <X11/keysym.h>

class TestVirtualKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lettersAndDigitsUseTheUnshiftedSymbol()
    {
        QCOMPARE(VirtualKeys::toKeySym('A'), uint32_t(XK_a));
        QCOMPARE(VirtualKeys::toKeySym('P'), uint32_t(XK_p));
        QCOMPARE(VirtualKeys::toKeySym('Z'), uint32_t(XK_z));
        QCOMPARE(VirtualKeys::toKeySym('0'), uint32_t(XK_0));
        QCOMPARE(VirtualKeys::toKeySym('9'), uint32_t(XK_9));
    }

    void functionAndNumpadKeysCoverTheirWholeRange()
    {
        QCOMPARE(VirtualKeys::toKeySym(0x70), uint32_t(XK_F1));
        QCOMPARE(VirtualKeys::toKeySym(0x7B), uint32_t(XK_F12));
        QCOMPARE(VirtualKeys::toKeySym(0x87), uint32_t(XK_F24));
        QCOMPARE(VirtualKeys::toKeySym(0x60), uint32_t(XK_KP_0));
        QCOMPARE(VirtualKeys::toKeySym(0x69), uint32_t(XK_KP_9));
        QCOMPARE(VirtualKeys::toKeySym(0x6A), uint32_t(XK_KP_Multiply));
        QCOMPARE(VirtualKeys::toKeySym(0x6F), uint32_t(XK_KP_Divide));
    }

    void punctuationFollowsTheUsLayout()
    {
        QCOMPARE(VirtualKeys::toKeySym(0xBA), uint32_t(XK_semicolon));
        QCOMPARE(VirtualKeys::toKeySym(0xBB), uint32_t(XK_equal));
        QCOMPARE(VirtualKeys::toKeySym(0xBC), uint32_t(XK_comma));
        QCOMPARE(VirtualKeys::toKeySym(0xC0), uint32_t(XK_grave));
        QCOMPARE(VirtualKeys::toKeySym(0xDE), uint32_t(XK_apostrophe));
        QCOMPARE(VirtualKeys::toKeySym(0xE2), uint32_t(XK_less));
    }

    // Modifier keys, mouse buttons and gaps between the ranges have no key.
    void codesWithoutAKeyAreRefused()
    {
        for (const int code : { 0x00, 0x01, 0x02, 0x07, 0x10, 0x11, 0x12, 0x3A, 0x40, 0x5E, 0x88,
                                0xA0, 0xA1, 0xA2, 0xA5, 0xFF, 0x100, -1 })
            QVERIFY2(VirtualKeys::toKeySym(code) == 0, qPrintable(QString::number(code, 16)));
    }
};

QTEST_APPLESS_MAIN(TestVirtualKeys)
#include "test_virtualkeys.moc"
