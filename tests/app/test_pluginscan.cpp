#include "app/pluginscan.h"
#include "app/resourcepixmap.h"

#include <QApplication>
#include <QImageReader>
#include <QtTest>

// Start-up hides the image plugins. Whatever start-up reads (the command
// line's files, the last session's pictures) runs after they are back, and
// from then on opened JPG and SVG files are readable.
class TestPluginScan : public QObject
{
    Q_OBJECT

    // The toolbar paints some of its own PNGs after start-up; they must not
    // pull in every image plugin and the libraries behind them.
    static bool ownPicturesLoadNoPlugin()
    {
        for (const bool highRes : { false, true })
            if (ResourcePixmap::load(QStringLiteral(":/Res/PopupArrow"), highRes).width()
                != (highRes ? 32 : 16))
                return false;
        QFile maps(QStringLiteral("/proc/self/maps"));
        return !maps.open(QIODevice::ReadOnly) || !maps.readAll().contains("/imageformats/");
    }

private Q_SLOTS:
    void pluginsAreBackBeforeStartUpReadsAndOwnPicturesNeedNone()
    {
        PluginScan::defer();
        QVERIFY(!QImageReader::supportedImageFormats().contains("jpeg"));
        QByteArrayList seen;
        bool ran = false;
        bool ownPicturesAlone = false;
        PluginScan::resumeLater(qApp, [&] {
            ownPicturesAlone = ownPicturesLoadNoPlugin();
            seen = QImageReader::supportedImageFormats();
            ran = true;
        });
        QVERIFY(!ran);
        QTRY_VERIFY(ran);
        QVERIFY(ownPicturesAlone);
        QVERIFY(seen.contains("jpeg"));
        QVERIFY(seen.contains("svg"));
        QImage jpeg(8, 8, QImage::Format_RGB32);
        jpeg.fill(Qt::red);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(jpeg.save(&buffer, "JPG"));
        QCOMPARE(QImage::fromData(bytes).size(), QSize(8, 8));
    }
};

QTEST_MAIN(TestPluginScan)
#include "test_pluginscan.moc"
