#include "app/pluginscan.h"

#include <QApplication>
#include <QImageReader>
#include <QtTest>

// Start-up hides the image plugins. Whatever start-up reads (the command
// line's files, the last session's pictures) runs after they are back, and
// from then on opened JPG and SVG files are readable.
class TestPluginScan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pluginsAreBackBeforeStartUpReads()
    {
        PluginScan::defer();
        QVERIFY(!QImageReader::supportedImageFormats().contains("jpeg"));
        QByteArrayList seen;
        bool ran = false;
        PluginScan::resumeLater(qApp, [&] {
            seen = QImageReader::supportedImageFormats();
            ran = true;
        });
        QVERIFY(!ran);
        QTRY_VERIFY(ran);
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
