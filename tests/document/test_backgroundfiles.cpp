#include "app/appstate.h"
#include "document/backgroundfiles.h"
#include "document/mainpage.h"
#include "document/pagerenderer.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// Page pictures written to their files by a worker, kept in memory until the
// file is complete, and kept for good when the disk refuses them.
class TestBackgroundFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    static QImage filled(const QColor &colour)
    {
        QImage image(320, 200, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

private Q_SLOTS:
    void init()
    {
        AppState::reset();
        QDir().mkpath(AppState::instance().tempFolder = dir.filePath(QStringLiteral("temp/")));
    }

    void pictureIsShownUntilItsFileIsComplete()
    {
        BackgroundFiles &files = BackgroundFiles::instance();
        files.write(71, filled(Qt::red));
        files.write(72, filled(Qt::green));
        files.write(71, filled(Qt::blue)); // written again before the first finished
        // Either still in memory or already complete on disk, never neither.
        const QImage early = files.unwritten(72);
        QVERIFY(!early.isNull()
                || QImage(MainPage::backgroundFile(72)).pixelColor(0, 0) == Qt::green);
        files.finish();
        QVERIFY(files.unwritten(71).isNull());
        QVERIFY(files.unwritten(72).isNull());
        QCOMPARE(QImage(MainPage::backgroundFile(71)).pixelColor(5, 5), QColor(Qt::blue));
        QCOMPARE(QImage(MainPage::backgroundFile(72)).pixelColor(5, 5), QColor(Qt::green));
        QVERIFY(!(QFile(MainPage::backgroundFile(72)).permissions() & QFile::ReadOther));
    }

    void refusedPictureStaysAndIsReported()
    {
        BackgroundFiles &files = BackgroundFiles::instance();
        QSignalSpy failed(&files, &BackgroundFiles::writeFailed);
        // A folder where the file should be: the write cannot replace it.
        QVERIFY(QDir().mkpath(MainPage::backgroundFile(73)));
        files.write(73, filled(Qt::yellow));
        QVERIFY(failed.wait());
        QCOMPARE(failed.at(0).at(0).toInt(), 73);
        QCOMPARE(files.unwritten(73).pixelColor(5, 5), QColor(Qt::yellow));
        files.forget(73);

        // Exports and thumbnails render such a page from memory.
        MainPage page(QSize(320, 200), false);
        page.background = MainPage::PictureBackground;
        QVERIFY(QDir().mkpath(MainPage::backgroundFile(page.id)));
        files.write(page.id, filled(Qt::magenta));
        QVERIFY(failed.wait());
        QCOMPARE(PageRenderer::renderPage(PageRenderer::snapshot(&page)).pixelColor(5, 5),
                 QColor(Qt::magenta));
        files.forget(page.id);
        QVERIFY(files.unwritten(73).isNull());
    }

    void forgottenPageLeavesNoFile()
    {
        BackgroundFiles &files = BackgroundFiles::instance();
        for (int id = 80; id < 90; ++id)
            files.write(id, filled(Qt::cyan));
        for (int id = 80; id < 90; ++id) {
            files.forget(id);
            QFile::remove(MainPage::backgroundFile(id)); // as a deleted page does
        }
        files.finish();
        for (int id = 80; id < 90; ++id)
            QVERIFY(!QFile::exists(MainPage::backgroundFile(id)));
    }
};

QTEST_GUILESS_MAIN(TestBackgroundFiles)
#include "test_backgroundfiles.moc"
