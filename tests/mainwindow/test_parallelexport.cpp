#include "app/appstate.h"
#include "canvas/mainview.h"
#include "commandoutput.h"
#include "document/addcommand.h"
#include "document/mainpage.h"
#include "document/pagerenderer.h"
#include "mainwindow/pageexporter.h"
#include "pixels.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QtTest>

#include <memory>

namespace {

constexpr int PageCount = 12;

QColor pageColour(int index)
{
    return QColor::fromHsv(index * 360 / PageCount, 220, 230);
}

bool near(const QColor &a, const QColor &b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

// Exports of many pages, rendered and encoded on several threads: the file
// holds every page in order with its own pixels, and a cancelled export
// leaves the old file alone.
class TestParallelExport : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainView> view;

    QString path(const QString &strName) const { return env->path(strName); }

    // Page i: a picture of its own colour, a black stroke at y = 20 + 10 i.
    void makePages()
    {
        for (int i = 0; i < PageCount; ++i) {
            view->newPage();
            QPixmap picture(view->currentPage()->size);
            picture.fill(pageColour(i));
            view->setBackground(picture);
            QVERIFY(view->pushCommand(new AddCommand(
                view.get(),
                Pixels::line(QPointF(10, 20 + 10 * i), QPointF(300, 20 + 10 * i), 6, Qt::black))));
        }
    }

    QStringList folderFiles() const
    {
        return QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        QDir().mkpath(AppState::instance().tempFolder = path(QStringLiteral("temp/")));
        QDir().mkpath(path(QStringLiteral("out")));
        view = std::make_unique<MainView>();
        view->resize(400, 300);
        makePages();
    }

    void cleanup()
    {
        view.reset();
        env.reset();
    }

    void zipHoldsEveryPageInOrder()
    {
        PageExporter exporter(PageRenderer::snapshot(view->document().pageList()));
        QList<int> reported;
        exporter.progress = [&](int i) { reported.append(i); };
        const QString zip = path(QStringLiteral("out/pages.zip"));
        QVERIFY2(exporter.exportImages(zip, QStringLiteral("png"), false),
                 qPrintable(exporter.errorString()));
        QList<int> expected;
        for (int i = 0; i <= PageCount; ++i)
            expected.append(i);
        QCOMPARE(reported, expected);
        const QStringList names = QString::fromUtf8(commandOutput(QStringLiteral("unzip"),
                                                                  { QStringLiteral("-Z1"), zip }))
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(names.size(), PageCount);
        for (int i = 0; i < PageCount; ++i) {
            QCOMPARE(names[i], QStringLiteral("Tavelmark_%1.png").arg(i + 1));
            const QImage picture = QImage::fromData(
                commandOutput(QStringLiteral("unzip"), { QStringLiteral("-p"), zip, names[i] }));
            QCOMPARE(picture,
                     PageRenderer::renderPage(view->document().pageList().at(i))
                         .convertToFormat(picture.format()));
            QCOMPARE(picture.pixelColor(200, 20 + 10 * i), QColor(Qt::black));
            QCOMPARE(picture.pixel(200, 15 + 10 * i), pageColour(i).rgb());
        }
        // Pictures are stored, not deflated again.
        const QString listing = QString::fromUtf8(
            commandOutput(QStringLiteral("unzip"), { QStringLiteral("-v"), zip }));
        QCOMPARE(listing.count(QStringLiteral("Stored")), PageCount);
        QVERIFY(!listing.contains(QStringLiteral("Defl")));
        QCOMPARE(folderFiles(), QStringList({ QStringLiteral("pages.zip") }));
    }

    void pdfHoldsEveryPageInOrder()
    {
        PageExporter exporter(PageRenderer::snapshot(view->document().pageList()));
        const QString pdf = path(QStringLiteral("out/pages.pdf"));
        QVERIFY2(exporter.exportPdf(pdf), qPrintable(exporter.errorString()));
        const QString prefix = path(QStringLiteral("shown"));
        commandOutput(
            QStringLiteral("pdftoppm"),
            { QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("20"), pdf, prefix });
        const QStringList shown
            = QDir(path(QString()))
                  .entryList({ QStringLiteral("shown*.png") }, QDir::Files, QDir::Name);
        QCOMPARE(shown.size(), PageCount);
        for (int i = 0; i < PageCount; ++i) {
            const QImage page(path(shown[i]));
            // One printer page per page, lying landscape.
            QVERIFY(page.width() > page.height());
            QVERIFY2(
                near(page.pixelColor(page.width() / 2, page.height() * 3 / 4), pageColour(i), 24),
                qPrintable(QStringLiteral("page %1").arg(i + 1)));
        }
    }

    // Cancelled while the workers are ahead: the old files stay as they were
    // and nothing is left beside them; no error is told.
    void cancellingKeepsTheOldFile()
    {
        const QString zip = path(QStringLiteral("out/old.zip"));
        const QString pdf = path(QStringLiteral("out/old.pdf"));
        QVERIFY(writeFile(zip, "the old zip"));
        QVERIFY(writeFile(pdf, "the old pdf"));
        PageExporter exporter(PageRenderer::snapshot(view->document().pageList()));
        int last = -1;
        exporter.progress = [&](int i) {
            last = i;
            if (i == PageCount / 2)
                exporter.cancel();
        };
        QVERIFY(!exporter.exportImages(zip, QStringLiteral("png"), false));
        QVERIFY(exporter.wasCancelled());
        QVERIFY(exporter.errorString().isEmpty());
        QCOMPARE(last, PageCount / 2);
        QVERIFY(!exporter.exportPdf(pdf));
        QVERIFY(exporter.wasCancelled());
        QCOMPARE(readFile(zip), QByteArray("the old zip"));
        QCOMPARE(readFile(pdf), QByteArray("the old pdf"));
        QCOMPARE(folderFiles(),
                 QStringList({ QStringLiteral("old.pdf"), QStringLiteral("old.zip") }));

        // The next export runs to the end again.
        exporter.progress = nullptr;
        QVERIFY(exporter.exportImages(zip, QStringLiteral("png"), false));
        QVERIFY(!exporter.wasCancelled());
        QVERIFY(readFile(zip).startsWith("PK"));
    }

    // A write-protected target is never replaced, by either export; a part
    // file a killed export left is cleared by the next one to its folder.
    void protectedTargetsStayAndStalePartsGo()
    {
        const QString zip = path(QStringLiteral("out/locked.zip"));
        const QString pdf = path(QStringLiteral("out/locked.pdf"));
        const QString stale = path(QStringLiteral("out/.old.zip.tavelmark-part-Ab3dE9"));
        for (const QString &file : { zip, pdf, stale })
            QVERIFY(writeFile(file, "old"));
        for (const QString &file : { zip, pdf })
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup));
        PageExporter exporter(PageRenderer::snapshot(view->document().pageList()));
        QVERIFY(!exporter.exportImages(zip, QStringLiteral("png"), false));
        QCOMPARE(exporter.errorString(), QStringLiteral("The file is write-protected."));
        QVERIFY(!exporter.exportPdf(pdf));
        QCOMPARE(exporter.errorString(), QStringLiteral("The file is write-protected."));
        QCOMPARE(readFile(zip), QByteArray("old"));
        QCOMPARE(readFile(pdf), QByteArray("old"));
        QVERIFY(exporter.exportImages(path(QStringLiteral("out/new.zip")), QStringLiteral("png"),
                                      false));
        QCOMPARE(folderFiles(),
                 QStringList({ QStringLiteral("locked.pdf"), QStringLiteral("locked.zip"),
                               QStringLiteral("new.zip") }));
    }
};

QTEST_MAIN(TestParallelExport)
#include "test_parallelexport.moc"
