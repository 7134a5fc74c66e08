#include <QFile>
#include <QImage>
#include <QtTest>

// Every picture the program names exists, is a real drawing (not empty or a
// single colour) and has a twice-as-large "@2x" twin.
class TestResources : public QObject
{
    Q_OBJECT

    static int distinctColours(const QImage &image)
    {
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        return colours.size();
    }

private Q_SLOTS:
    void picturesHaveTwins_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *path :
             { ":/Res/Tavelmark", ":/Res/TrayIcon", ":/Res/ObjMenu", ":/Res/Frame",
               ":/Cursor/Cross", ":/Cursor/CrossFind", ":/Cursor/Picker", ":/Res/ExportFileType0",
               ":/Res/ExportFileType1", ":/Res/ExportFileType2", ":/Res/ExportFileType3",
               ":/Res/ExportFileType4" })
            QTest::newRow(path) << QString::fromLatin1(path);
        for (const char *path :
             { ":/Res/Undo",      ":/Res/Redo",        ":/Res/Mouse",   ":/Res/Select",
               ":/Res/Pen",       ":/Res/Highlighter", ":/Res/Eraser",  ":/Res/Line",
               ":/Res/Shape",     ":/Res/Text",        ":/Res/Newpage", ":/Res/Clearpage",
               ":/Res/Pageup",    ":/Res/Pagedown",    ":/Res/Browser", ":/Res/Livedesktop",
               ":/Res/Save",      ":/Res/Tools",       ":/Res/Min",     ":/Res/Close",
               ":/Res/Menu",      ":/Res/PopupArrow",  ":/Res/Dial_BG", ":/Res/Dial",
               ":/Res/Dial_Value" })
            QTest::newRow(path) << QString::fromLatin1(path);
        // Ruler and protractor.
        for (const char *path : { ":/Tools/Hand", ":/Tools/ResizeDark", ":/Tools/ResizeLight",
                                  ":/Tools/Value", ":/Tools/Angle", ":/Tools/Create" })
            QTest::newRow(path) << QString::fromLatin1(path);
        // Option popups.
        for (const char *path :
             { ":/Popup/MoreColor",  ":/Popup/Picker",     ":/Popup/LineCap1",
               ":/Popup/LineCap2",   ":/Popup/LineCap3",   ":/Popup/LineCap4",
               ":/Popup/LineCap5",   ":/Popup/LineCap6",   ":/Popup/LineCap7",
               ":/Popup/LineCap8",   ":/Popup/LineCap9",   ":/Popup/LineCap10",
               ":/Popup/LineCap11",  ":/Popup/LineCap12",  ":/Popup/LineStyle1",
               ":/Popup/LineStyle2", ":/Popup/LineStyle3", ":/Popup/LineStyle4",
               ":/Popup/LineStyle5", ":/Popup/Shadow",     ":/Popup/FillNull",
               ":/Popup/Text1",      ":/Popup/Text2",      ":/Popup/Text3",
               ":/Popup/Text4",      ":/Popup/Text5",      ":/Popup/Text6",
               ":/Popup/Tools1",     ":/Popup/Tools2",     ":/Popup/Tools3",
               ":/Popup/Tools4",     ":/Popup/Tools5",     ":/Popup/Tools6",
               ":/Popup/Tools7",     ":/Popup/Tools8",     ":/Popup/Save1",
               ":/Popup/Save2",      ":/Popup/OpPage1",    ":/Popup/OpPage2",
               ":/Popup/OpPage3",    ":/Popup/Capture",    ":/Popup/DuplicatePage",
               ":/Popup/Image" })
            QTest::newRow(path) << QString::fromLatin1(path);
        // Colour picker, magnifier and capture outputs.
        for (const char *path :
             { ":/Tools/Clipboard", ":/Tools/Resize", ":/Tools/ZoomIn", ":/Tools/ZoomOut",
               ":/Tools/ZoomAll", ":/Tools/Captopage", ":/Tools/Captofile", ":/Tools/Captoclip",
               ":/Tools/CaptureWin", ":/Tools/Scale" })
            QTest::newRow(path) << QString::fromLatin1(path);
        // Page browser and update dialog.
        for (const char *path : { ":/Res/Browser_BG", ":/Res/Deletepage", ":/Res/Dropdown",
                                  ":/Res/Dropdown2", ":/Res/Loading" })
            QTest::newRow(path) << QString::fromLatin1(path);
    }

    void picturesHaveTwins()
    {
        QFETCH(QString, path);
        const QImage normal(path);
        const QImage twin(path + QStringLiteral("@2x"));
        QVERIFY2(!normal.isNull(), qPrintable(path));
        QVERIFY2(!twin.isNull(), qPrintable(path + QStringLiteral("@2x")));
        QCOMPARE(twin.size(), normal.size() * 2);
        QVERIFY(distinctColours(normal) > 4);
        QVERIFY(distinctColours(twin) > 4);
    }

    void textResourcesExist()
    {
        for (const char *path : { ":/Style/menu.qss", ":/Style/slider.qss", ":/Style/scrollbar.qss",
                                  ":/Language/Language.xml" }) {
            QFile file(QString::fromLatin1(path));
            QVERIFY2(file.open(QIODevice::ReadOnly), path);
            QVERIFY(file.size() > 0);
        }
    }
};

QTEST_MAIN(TestResources)
#include "test_resources.moc"
