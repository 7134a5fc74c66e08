#include "app/pluginscan.h"

#include <QApplication>
#include <QImageReader>
#include <QtTest>

// Start-up hides the image plugins; once the event loop turns, opened JPG
// files must be readable again.
class TestPluginScan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pluginsComeBackAfterStartUp()
    {
        PluginScan::defer();
        QVERIFY(!QImageReader::supportedImageFormats().contains("jpeg"));
        PluginScan::resumeLater();
        QTRY_VERIFY(QImageReader::supportedImageFormats().contains("jpeg"));
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
