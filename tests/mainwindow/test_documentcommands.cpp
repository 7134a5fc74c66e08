#include "app/appstate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "commandoutput.h"
#include "commandwaits.h"
#include "document/addcommand.h"
#include "document/imagestatic.h"
#include "document/imagesvg.h"
#include "document/mainpage.h"
#include "document/pagerenderer.h"
#include "mainwindow/documentcommands.h"
#include "mainwindow/documentfiles.h"
#include "mainwindow/exportbtn.h"
#include "mainwindow/exportdlg.h"
#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"
#include "pageimages.h"
#include "pixels.h"
#include "slidepdf.h"
#include "smalldisk.h"
#include "testenvironment.h"
#include "widgets/filedialogguard.h"

#include <QApplication>
#include <QDir>
#include <QPaintEvent>
#include <QPainter>
#include <QProcess>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <memory>

namespace {

// Answers the file dialogs from queues, as the user would.
class TestCommands : public DocumentCommands
{
public:
    using DocumentCommands::DocumentCommands;

    QList<QStringList> openAnswers;
    QList<QPair<QString, QString>> saveAnswers; // name, chosen filter
    QStringList filtersAsked;
    // File dialogs shown without being marked open.
    int unmarked = 0;

    QStringList askOpenFileNames(const QString &, const QString &strFilter) override
    {
        filtersAsked.append(strFilter);
        unmarked += FileDialogGuard::isOpen() ? 0 : 1;
        return openAnswers.isEmpty() ? QStringList() : openAnswers.takeFirst();
    }

    QString askSaveFileName(const QString &, const QString &, const QString &strFilters,
                            QString *pSelectedFilter) override
    {
        filtersAsked.append(strFilters);
        unmarked += FileDialogGuard::isOpen() ? 0 : 1;
        if (saveAnswers.isEmpty())
            return QString();
        const auto [name, filter] = saveAnswers.takeFirst();
        if (!filter.isEmpty())
            *pSelectedFilter = filter;
        return name;
    }
};

QImage noise(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    // The same noise each run, so a failure repeats.
    QRandomGenerator random(quint32(size.width() * 65536 + size.height()));
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = 0xff000000u | (random.generate() & 0xffffffu);
    }
    return image;
}

QString writePicture(const QString &strPath, const QSize &size, const QColor &colour,
                     const char *format = "png")
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image.save(strPath, format) ? strPath : QString();
}

// Collects the region a widget repaints.
class PaintSpy : public QObject
{
public:
    explicit PaintSpy(QWidget *pWidget) { pWidget->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject *, QEvent *pEvent) override
    {
        if (pEvent->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(pEvent)->region();
        return false;
    }
};

bool near(QRgb a, const QColor &b, int tolerance = 8)
{
    return qAbs(qRed(a) - b.red()) <= tolerance && qAbs(qGreen(a) - b.green()) <= tolerance
        && qAbs(qBlue(a) - b.blue()) <= tolerance;
}

} // namespace

class TestDocumentCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    TestCommands *commands = nullptr;

    MainView *view() const { return window->view(); }
    QString path(const QString &strName) const { return env->path(strName); }

    QList<ObjImage *> images() const { return pageImages(view()); }

    // A page of the given colour with a red stroke from (100, 100) to (300, 100).
    void addPage(const QColor &colour)
    {
        view()->newPage();
        view()->setBackground([&] {
            QPixmap picture(view()->currentPage()->size);
            picture.fill(colour);
            return picture;
        }());
        QVERIFY(view()->pushCommand(
            new AddCommand(view(), Pixels::line(QPointF(100, 100), QPointF(300, 100), 20))));
    }

    // The progress bar of the dialog an open or an export shows while it runs.
    static QProgressBar *runningProgress()
    {
        QWidget *dialog = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
        return dialog ? dialog->findChild<QProgressBar *>() : nullptr;
    }

    QStringList zipEntries(const QString &strZip) const
    {
        return QString::fromUtf8(
                   commandOutput(QStringLiteral("unzip"), { QStringLiteral("-Z1"), strZip }))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QImage zipPicture(const QString &strZip, const QString &strEntry) const
    {
        return QImage::fromData(
            commandOutput(QStringLiteral("unzip"), { QStringLiteral("-p"), strZip, strEntry }));
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        commands = new TestCommands(window.get());
        AppState::instance().homePath = env->path(QString());
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    void insertScalesLargePicturesAndCentres()
    {
        view()->newPage();
        const QSizeF area = view()->currentPage()->size;
        const QString large = writePicture(path(QStringLiteral("large.png")),
                                           QSize(area.width() * 2, area.height()), Qt::blue);
        const QString small
            = writePicture(path(QStringLiteral("small.bmp")), QSize(100, 50), Qt::green, "bmp");
        QVERIFY(commands->InsertImageFile(QPointF(0, 0), area, large, true));
        QVERIFY(commands->InsertImageFile(QPointF(0, 0), area, small, true));
        QVERIFY(commands->InsertImageFile(QPointF(10, 20), area, large, false));
        const QList<ObjImage *> placed = images();
        QCOMPARE(placed.size(), 3);
        QCOMPARE(placed[0]->rect, QRectF(0, area.height() / 4, area.width(), area.height() / 2));
        QCOMPARE(placed[1]->rect,
                 QRectF((area.width() - 100) / 2, (area.height() - 50) / 2, 100, 50));
        QCOMPARE(placed[2]->rect,
                 QRectF(10 - area.width() / 2, 20, area.width() * 2, area.height()));
        QCOMPARE(placed[1]->centre, placed[1]->rect.center());

        const QString svg = path(QStringLiteral("shape.SVG"));
        QVERIFY(writeFile(svg,
                          "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='30'>"
                          "<rect width='40' height='30' fill='red'/></svg>"));
        QVERIFY(commands->InsertImageFile(QPointF(0, 0), area, svg, true));
        auto *vector = dynamic_cast<ImageSVG *>(images().last());
        QVERIFY(vector && vector->renderer);
        QCOMPARE(vector->rect.size(), QSizeF(40, 30));
        const QImage page = PageRenderer::renderPage(view()->currentPage());
        QVERIFY(near(page.pixel(area.width() / 2, area.height() / 2), Qt::red));
    }

    // On a scaled page a picture covers one device pixel per pixel: a capture
    // of 600 x 400 device pixels at ratio 2 goes back in as 300 x 200; an
    // SVG keeps its logical size.
    void picturesShowPixelForPixelOnScaledPages()
    {
        view()->newPage();
        const QSizeF area = view()->currentPage()->size;
        const QString picture
            = writePicture(path(QStringLiteral("capture.png")), QSize(600, 400), Qt::green);
        QVERIFY(commands->InsertImageFile(QPointF(0, 0), area, picture, true, 2.0));
        QCOMPARE(images().last()->rect.size(), QSizeF(300, 200));
        QPixmap captured(600, 400);
        captured.fill(Qt::green);
        captured.setDevicePixelRatio(2.0);
        QVERIFY(commands->InsertPixmap(captured, area, true));
        QCOMPARE(images().last()->rect.size(), QSizeF(300, 200));
        // Unscaled pages keep the picture's own size.
        QVERIFY(commands->InsertImageFile(QPointF(0, 0), area, picture, true));
        QCOMPARE(images().last()->rect.size(), QSizeF(600, 400));

        const QString svg = path(QStringLiteral("mark.svg"));
        QVERIFY(writeFile(svg,
                          "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='30'>"
                          "<rect width='40' height='30' fill='red'/></svg>"));
        QVERIFY(commands->InsertImageFile(QPointF(0, 0), area, svg, true, 2.0));
        QCOMPARE(images().last()->rect.size(), QSizeF(40, 30));
    }

    void temporaryCopiesAreReusedOnlyForTheSameContent()
    {
        view()->newPage();
        const QSizeF area = view()->currentPage()->size;
        QDir().mkpath(path(QStringLiteral("one")));
        QDir().mkpath(path(QStringLiteral("two")));
        // Same name and byte size, different pixels.
        const QString first
            = writePicture(path(QStringLiteral("one/a.bmp")), QSize(20, 20), Qt::red, "bmp");
        const QString second
            = writePicture(path(QStringLiteral("two/a.bmp")), QSize(20, 20), Qt::blue, "bmp");
        QCOMPARE(QFileInfo(first).size(), QFileInfo(second).size());
        QVERIFY(commands->InsertImageFile(QPointF(), area, first, true));
        QVERIFY(commands->InsertImageFile(QPointF(), area, first, true));
        QVERIFY(commands->InsertImageFile(QPointF(), area, second, true));
        QVERIFY(commands->InsertImageFile(QPointF(), area, second, true));

        const QString temp = AppState::instance().tempFolder;
        QCOMPARE(QDir(temp).entryList({ QStringLiteral("a*.bmp") }, QDir::Files),
                 QStringList({ QStringLiteral("a(1).bmp"), QStringLiteral("a.bmp") }));
        QCOMPARE(readFile(temp + QStringLiteral("a.bmp")), readFile(first));
        QCOMPARE(readFile(temp + QStringLiteral("a(1).bmp")), readFile(second));
        QCOMPARE(QFile::permissions(temp + QStringLiteral("a(1).bmp"))
                     & (QFile::ReadOther | QFile::WriteOther | QFile::ExeOther | QFile::ReadGroup
                        | QFile::WriteGroup | QFile::ExeGroup | QFile::ExeOwner),
                 QFile::Permissions());
        const QList<ObjImage *> placed = images();
        QCOMPARE(placed[1]->path, temp + QStringLiteral("a.bmp"));
        QCOMPARE(placed[3]->path, temp + QStringLiteral("a(1).bmp"));
    }

    void openingMakesOnePagePerPictureFromTheDesktop()
    {
        QVERIFY(!window->modes()->isDrawMode());
        const QSize screen = window->currentScreen()->size();
        const QString wide = writePicture(path(QStringLiteral("wide.png")),
                                          QSize(screen.width() * 2, screen.height()), Qt::blue);
        const QString small
            = writePicture(path(QStringLiteral("small.jpg")), QSize(40, 40), Qt::green, "jpg");
        const QString broken = path(QStringLiteral("broken.png"));
        QVERIFY(writeFile(broken, "\x89PNG\r\n\x1a\nnot a picture"));

        commands->openAnswers.append({ wide, small, broken });
        {
            ModalAnswerer answerer;
            commands->slot_Open();
            // The damaged file makes no blank page; it is named in the
            // message, told once the last page is in.
            QTRY_COMPARE(answerer.texts.size(), 1);
            QVERIFY2(answerer.texts.first().contains(QStringLiteral("broken.png")),
                     qPrintable(answerer.texts.first()));
        }
        QCOMPARE(commands->filtersAsked,
                 QStringList(
                     { QStringLiteral("Image Files and PDFs (*.bmp *.jpg *.jpeg *.png *.pdf)") }));
        QCOMPARE(view()->document().pageCount(), 2);
        QVERIFY(window->modes()->isDrawMode());
        QVERIFY(!FileDialogGuard::isOpen());
        QCOMPARE(commands->unmarked, 0);

        const QList<MainPage *> pages = view()->document().pageList();
        const QImage first = PageRenderer::renderPage(pages[0]);
        // Shrunk to the page width, centred, white above and below.
        QVERIFY(near(first.pixel(screen.width() / 2, screen.height() / 2), Qt::blue));
        QVERIFY(near(first.pixel(screen.width() / 2, 2), Qt::white));
        const QImage second = PageRenderer::renderPage(pages[1]);
        QVERIFY(near(second.pixel(screen.width() / 2, screen.height() / 2), Qt::green, 24));
        QVERIFY(near(second.pixel(screen.width() / 2 - 30, screen.height() / 2), Qt::white));
    }

    // A PDF chosen to open adds a page per PDF page; chosen to insert, its
    // pages go after the last page once the pictures are in the current one.
    void pdfsOpenAsPagesAndInsertAfterThePictures()
    {
        const QString slides = path(QStringLiteral("slides.pdf"));
        QVERIFY(writeFile(slides, SlidePdf::coloured(2, QSizeF(1024, 576))));
        commands->openAnswers.append({ slides });
        commands->slot_Open();
        QTRY_COMPARE(view()->document().pageCount(), 2);
        QTRY_VERIFY(!window->documentFiles()->isLoading());
        QVERIFY(window->modes()->isDrawMode());
        QCOMPARE(view()->document().currentPageNumber(), 1);

        const QString small
            = writePicture(path(QStringLiteral("small.png")), QSize(40, 40), Qt::green);
        commands->openAnswers.append({ slides, small });
        commands->slot_InsertImage();
        QTRY_COMPARE(view()->document().pageCount(), 4);
        const QList<MainPage *> pages = view()->document().pageList();
        QCOMPARE(pages.at(0)->objects.size(), 1);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(pages.at(i)->pdfPage, i % 2);
        QCOMPARE(pages.at(2)->objects.size(), 0);
        QCOMPARE(view()->document().currentPageNumber(), 3);
        QCOMPARE(commands->filtersAsked.last(),
                 QStringLiteral("Image Files and PDFs (*.bmp *.jpg *.jpeg *.png *.svg *.pdf)"));
    }

    void absurdPicturesAreRefusedWithTheirSize()
    {
        // A header claiming 9000 x 9000 at 32 bits, without the pixels.
        QByteArray bmp(54, '\0');
        QDataStream stream(&bmp, QIODevice::WriteOnly);
        stream.setByteOrder(QDataStream::LittleEndian);
        stream << quint8('B') << quint8('M') << quint32(54) << quint32(0) << quint32(54)
               << quint32(40) << qint32(9000) << qint32(9000) << quint16(1) << quint16(32);
        // Named as it is, even with a placeholder in its name.
        const QString huge = path(QStringLiteral("50%2off.bmp"));
        QVERIFY(writeFile(huge, bmp));

        ModalAnswerer watcher;
        QVERIFY(opened(commands, { huge }, true));
        QCOMPARE(watcher.texts.size(), 1);
        QVERIFY2(watcher.texts[0].contains(QStringLiteral("50%2off.bmp has 9000 x 9000")),
                 qPrintable(watcher.texts[0]));
        QVERIFY(watcher.texts[0].contains(QStringLiteral("8192 x 8192")));
        QVERIFY(images().isEmpty());

        // Above the toolkit's own default allocation limit, below ours.
        QImage big(6000, 6000, QImage::Format_RGB888);
        big.fill(Qt::darkCyan);
        QVERIFY(big.save(path(QStringLiteral("big.png"))));
        big = QImage();
        QVERIFY(commands->InsertImageFile(QPointF(), view()->currentPage()->size,
                                          path(QStringLiteral("big.png")), true));
        auto *picture = dynamic_cast<ImageStatic *>(images().last());
        QVERIFY(picture && picture->pixmap);
        QCOMPARE(picture->pixmap->size(), QSize(6000, 6000));
        QCOMPARE(watcher.texts.size(), 1);
    }

    void savingOnePicture()
    {
        QImage image(60, 40, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter(&image).fillRect(0, 0, 30, 40, Qt::blue);

        // The chosen filter supplies a missing extension; a typed one wins.
        commands->saveAnswers
            = { { path(QStringLiteral("notes")), QStringLiteral("JPG Files (*.jpg)") },
                { path(QStringLiteral("notes.PNG")), QString() } };
        QVERIFY(commands->SaveImageAs(image));
        QVERIFY(commands->SaveImageAs(image));
        const QImage jpg(path(QStringLiteral("notes.jpg")), "JPG");
        QVERIFY(near(jpg.pixel(50, 20), Qt::white));
        QVERIFY(near(jpg.pixel(10, 20), Qt::blue, 24));
        QVERIFY(!QFile::exists(path(QStringLiteral("notes.PNG.png"))));
        const QImage png(path(QStringLiteral("notes.PNG")), "PNG");
        QCOMPARE(qAlpha(png.pixel(50, 20)), 0);
        QVERIFY(!commands->SaveImageAs(image)); // cancelled
        QVERIFY(!FileDialogGuard::isOpen());
        QCOMPARE(commands->unmarked, 0);
    }

    // The command hands its choices on: the drawing alone leaves the
    // picture out, and the folder is remembered. (What the archives hold is
    // the exporter's own test.)
    void exportOfTheDrawingAloneLeavesThePictureOut()
    {
        addPage(Qt::blue);
        const QString drawing = path(QStringLiteral("drawing.zip"));
        QVERIFY(exported(commands,
                         [&] { commands->ExportToImage(drawing, QStringLiteral("png"), true); }));
        const QImage only = zipPicture(drawing, QStringLiteral("Tavelmark_1.png"));
        QCOMPARE(qAlpha(only.pixel(500, 300)), 0);
        QVERIFY(near(only.pixel(200, 100), Qt::red));
        QCOMPARE(qAlpha(only.pixel(200, 100)), 255);
        QCOMPARE(AppState::instance().homePath, path(QString()));
    }

    // Export Annotated PDF asks for a PDF's name, adds the suffix and exports
    // every page; no name, no export.
    void exportAnnotatedPdfAsksForTheName()
    {
        addPage(Qt::blue);
        commands->ExportAnnotatedPdf();
        QVERIFY(commands->filtersAsked.constLast().contains(QLatin1String("*.pdf")));
        QVERIFY(QDir(path(QString())).entryList({ QStringLiteral("*.pdf") }).isEmpty());
        commands->saveAnswers.append({ path(QStringLiteral("handout")), QString() });
        QVERIFY(exported(commands, [&] { commands->ExportAnnotatedPdf(); }));
        const QString info = QString::fromUtf8(
            commandOutput(QStringLiteral("pdfinfo"), { path(QStringLiteral("handout.pdf")) }));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))),
                 qPrintable(info));
    }

    // Into a plain file's "folder", then onto a full disk over old files.
    void failedWritesAreReportedAndKeepTheOldFile()
    {
        for (int i = 0; i < 2; ++i) {
            view()->newPage();
            view()->setBackground(QPixmap::fromImage(noise(view()->currentPage()->size)));
        }
        ModalAnswerer watcher;
        QVERIFY(writeFile(path(QStringLiteral("plain")), QByteArray()));
        commands->saveAnswers = { { path(QStringLiteral("plain/notes.png")), QString() } };
        QVERIFY(!commands->SaveImageAs(noise(QSize(50, 50))));
        QVERIFY(
            watcher.texts.value(0).startsWith(QStringLiteral("The picture could not be saved.")));
        QCOMPARE(AppState::instance().homePath, path(QString()));
        QVERIFY(!exported(commands, [&] {
            commands->ExportToImage(path(QStringLiteral("plain/x.zip")), QStringLiteral("png"),
                                    false);
        }));
        QVERIFY(!exported(commands,
                          [&] { commands->ExportToPdf(path(QStringLiteral("plain/x.pdf"))); }));
        QCOMPARE(watcher.texts.size(), 3);

        SmallDisk disk(path(QStringLiteral("small")));
        const QString png = disk.path + QStringLiteral("/old.png");
        const QString zip = disk.path + QStringLiteral("/old.zip");
        const QString pdf = disk.path + QStringLiteral("/old.pdf");
        for (const QString &name : { png, zip, pdf })
            QVERIFY(writeFile(name, "the old file"));
        commands->saveAnswers = { { png, QString() } };
        disk.fill(true);
        QVERIFY(!commands->SaveImageAs(noise(QSize(600, 400))));
        QVERIFY(!exported(commands,
                          [&] { commands->ExportToImage(zip, QStringLiteral("png"), false); }));
        QVERIFY(!exported(commands, [&] { commands->ExportToPdf(pdf); }));
        disk.fill(false);
        QCOMPARE(watcher.texts.size(), 6);
        QVERIFY(watcher.texts[4].contains(QStringLiteral("old.zip")));
        for (const QString &name : { png, zip, pdf })
            QCOMPARE(readFile(name), QByteArray("the old file"));
        QCOMPARE(QDir(disk.path).entryList(QDir::Files | QDir::Hidden),
                 QStringList({ QStringLiteral("old.pdf"), QStringLiteral("old.png"),
                               QStringLiteral("old.zip") }));
    }

    void selectSaveTellsWhetherAFileWasWritten()
    {
        addPage(Qt::blue);
        auto chooseInDialog = [](int iFormat) {
            QTimer::singleShot(0, [iFormat] {
                auto *dialog = qobject_cast<ExportDlg *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                const QList<ExportBtn *> buttons = dialog->findChildren<ExportBtn *>();
                QCOMPARE(buttons.size(), 6);
                if (iFormat < 0)
                    dialog->reject();
                else
                    QTest::mouseClick(buttons[iFormat], Qt::LeftButton);
            });
        };
        chooseInDialog(-1);
        QVERIFY(!saved(commands, 1));

        // The editable document comes first, then BMP, JPG, PNG.
        commands->saveAnswers = { { path(QStringLiteral("all")), QString() } };
        chooseInDialog(3);
        QVERIFY(saved(commands, 1));
        QCOMPARE(zipEntries(path(QStringLiteral("all.zip"))),
                 QStringList({ QStringLiteral("Tavelmark_1.png") }));

        ModalAnswerer watcher;
        commands->saveAnswers = { { path(QStringLiteral("all.zip/x.pdf")), QString() } };
        chooseInDialog(5);
        QVERIFY(!saved(commands, 1));
        QCOMPARE(watcher.texts.size(), 1);

        commands->saveAnswers = { { path(QStringLiteral("page")), QString() } };
        QVERIFY(saved(commands, 0));
        QCOMPARE(QImage(path(QStringLiteral("page.png"))).size(), view()->currentPage()->size);
    }

    // Saving keeps what it wrote: an export of every page clears every page's
    // modified flag, a one-page save that page's; a failure clears nothing.
    void savingClearsTheModifiedFlags()
    {
        addPage(Qt::blue);
        addPage(Qt::green);
        MainPage *first = view()->document().pageList()[0];
        MainPage *second = view()->document().pageList()[1];
        {
            ModalAnswerer watcher;
            QVERIFY(!exported(
                commands, [&] { commands->ExportToPdf(path(QStringLiteral("missing/x.pdf"))); }));
        }
        QVERIFY(first->modified && second->modified);
        commands->saveAnswers = { { path(QStringLiteral("page")), QString() } };
        QVERIFY(saved(commands, 0));
        QVERIFY(first->modified);
        QVERIFY(!second->modified);
        QVERIFY(
            exported(commands, [&] { commands->ExportToPdf(path(QStringLiteral("all.pdf"))); }));
        QVERIFY(!view()->document().isModified());
        view()->document().undo();
        QVERIFY(view()->document().isModified());
    }

    // Cancelled half-way, a new export leaves no file and nothing beside
    // it, tells no failure, and counts as no save.
    void cancelledExportLeavesNoFile()
    {
        for (int i = 0; i < 8; ++i) {
            view()->newPage();
            view()->setBackground(QPixmap::fromImage(noise(view()->currentPage()->size)));
        }
        QVERIFY(QDir().mkpath(path(QStringLiteral("out"))));
        const QString zip = path(QStringLiteral("out/new.zip"));
        ModalAnswerer watcher;
        QList<bool> told;
        QSignalSpy finished(commands, &DocumentCommands::signal_ExportFinished);
        commands->ExportToImage(zip, QStringLiteral("png"), false,
                                [&told](bool bWritten) { told.append(bWritten); });
        QProgressBar *bar = runningProgress();
        QVERIFY(bar);
        QPushButton *cancel = bar->parentWidget()->findChild<QPushButton *>();
        QVERIFY(cancel);
        connect(bar, &QProgressBar::valueChanged, cancel, [cancel](int done) {
            if (done == 2)
                cancel->click();
        });
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(told, QList<bool>({ false }));
        QVERIFY(watcher.texts.isEmpty());
        QCOMPARE(QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList());
        QCOMPARE(AppState::instance().homePath, path(QString()));
        QVERIFY(view()->document().isModified());
        QVERIFY(!QApplication::activeModalWidget());
    }

    // The export runs on a worker: the command returns at once, queued
    // slots run while it writes, progress comes page by page, and a second
    // export asked meanwhile starts when the first has ended.
    void exportsLeaveTheEventLoopFree()
    {
        for (int i = 0; i < 6; ++i) {
            view()->newPage();
            view()->setBackground(QPixmap::fromImage(noise(view()->currentPage()->size)));
        }
        const QString zip = path(QStringLiteral("pages.zip"));
        const QString pdf = path(QStringLiteral("pages.pdf"));
        QStringList events;
        QSignalSpy finished(commands, &DocumentCommands::signal_ExportFinished);
        commands->ExportToImage(zip, QStringLiteral("png"), false, [&](bool bWritten) {
            events.append(QStringLiteral("zip %1").arg(bWritten));
        });
        QVERIFY(finished.isEmpty());
        QProgressBar *bar = runningProgress();
        QVERIFY(bar);
        QList<int> progress;
        connect(bar, &QProgressBar::valueChanged, this,
                [&progress](int done) { progress.append(done); });
        QTimer::singleShot(0, this, [&] { events.append(QStringLiteral("timer")); });
        commands->ExportToPdf(
            pdf, [&](bool bWritten) { events.append(QStringLiteral("pdf %1").arg(bWritten)); });
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 60000);
        QCOMPARE(events,
                 QStringList({ QStringLiteral("timer"), QStringLiteral("zip 1"),
                               QStringLiteral("pdf 1") }));
        QCOMPARE(progress, QList<int>({ 1, 2, 3, 4, 5, 6 }));
        QCOMPARE(zipEntries(zip).size(), 6);
        QVERIFY(readFile(pdf).startsWith("%PDF"));
    }

    // Pictures become pages in the order of their files, the progress
    // advancing with each; Cancel stops the files not yet read.
    void picturesOpenInFileOrder()
    {
        const QList<QColor> colours
            = { Qt::red, Qt::green, Qt::blue, Qt::cyan, Qt::magenta, Qt::yellow };
        QStringList files;
        for (int i = 0; i < colours.size(); ++i)
            files.append(
                writePicture(path(QStringLiteral("p%1.png").arg(i)), QSize(64, 48), colours[i]));
        const auto open = [&](int iCancelAt, QList<int> *pProgress) {
            auto done = std::make_shared<bool>(false);
            commands->OpenImages(QStringLiteral("Open"), files, false, [done] { *done = true; });
            QProgressBar *bar = runningProgress();
            QVERIFY(bar);
            QPushButton *cancel = bar->parentWidget()->findChild<QPushButton *>();
            QVERIFY(cancel);
            // Cancel resets the bar below its start.
            connect(bar, &QProgressBar::valueChanged, cancel, [=](int opened) {
                if (opened >= 0)
                    pProgress->append(opened);
                if (opened == iCancelAt)
                    cancel->click();
            });
            QVERIFY(QTest::qWaitFor([&] { return *done; }, 60000));
        };
        QList<int> progress;
        open(-1, &progress);
        QCOMPARE(progress, QList<int>({ 1, 2, 3, 4, 5, 6 }));
        QCOMPARE(view()->document().pageCount(), colours.size());
        for (int i = 0; i < colours.size(); ++i) {
            const QImage page = PageRenderer::renderPage(view()->document().pageList()[i]);
            QVERIFY2(near(page.pixel(page.width() / 2, page.height() / 2), colours[i]),
                     qPrintable(QString::number(i)));
        }

        progress.clear();
        ModalAnswerer watcher;
        open(2, &progress);
        QCOMPARE(progress, QList<int>({ 1, 2 }));
        QCOMPARE(view()->document().pageCount(), colours.size() + 2);
        QVERIFY(watcher.texts.isEmpty());
    }

    // What is inserted shows at once, without waiting for a page switch.
    void stampsAreRepaintedAtOnce()
    {
        window->SetDrawMode(true);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        PaintSpy spy(view());
        commands->slot_InsertNumber_Inc();
        const QPoint centre = images().value(0)->rect.center().toPoint();
        QTRY_VERIFY(spy.painted.contains(centre));
    }

    // Delete and BackSpace remove the selected picture, with undo.
    void deleteKeyRemovesTheSelectedPicture()
    {
        view()->newPage();
        commands->slot_InsertNumber_Inc();
        ToolKit::instance().setCurrentTool(ToolKit::Select);
        for (const Qt::Key key : { Qt::Key_Delete, Qt::Key_Backspace }) {
            view()->addToSelection(images().value(0));
            QTest::keyClick(window.get(), key);
            QVERIFY(images().isEmpty());
            view()->document().undo();
            QCOMPARE(images().size(), 1);
        }
        view()->removeFromSelection(images().value(0));
        QTest::keyClick(window.get(), Qt::Key_Delete);
        QCOMPARE(images().size(), 1);
    }

    void numberStampsGoInTheMiddleOfOnePage()
    {
        commands->slot_InsertNumber_Inc();
        commands->slot_InsertNumber_Inc();
        QVERIFY(window->modes()->isDrawMode());
        QCOMPARE(view()->document().pageCount(), 1);
        QCOMPARE(AppState::instance().nextNumber, 3);

        const QList<ObjImage *> stamps = images();
        QCOMPARE(stamps.size(), 2);
        const QSizeF page = view()->currentPage()->size;
        const int side = 36 * AppState::instance().scaled(2);
        for (ObjImage *stamp : stamps) {
            QCOMPARE(stamp->rect.size(), QSizeF(side, side));
            QCOMPARE(stamp->rect.center(), QPointF(page.width() / 2, page.height() / 2));
        }
        QVERIFY(!QFile::exists(AppState::instance().tempFolder + QStringLiteral("insert")));
    }
};

QTEST_MAIN(TestDocumentCommands)
#include "test_documentcommands.moc"
