#include "documentcommands.h"
#include "documentfiles.h"

#include "app/appstate.h"
#include "app/filewriter.h"
#include "app/lang.h"
#include "canvas/mainview.h"
#include "dialogs/textinputdlg.h"
#include "document/addcommand.h"
#include "document/imagestatic.h"
#include "document/imagesvg.h"
#include "document/mainpage.h"
#include "document/pagejobs.h"
#include "document/pagerenderer.h"
#include "exportdlg.h"
#include "exportrun.h"
#include "mainwindow.h"
#include "picturecheck.h"
#include "picturecopy.h"
#include "pictureloader.h"
#include "widgets/filedialogguard.h"
#include "widgets/messageboxdialog.h"
#include "widgets/progressdialog.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>

namespace {

constexpr int StampQuality = 80;

bool isSvg(const QString &strFile)
{
    return strFile.endsWith(QLatin1String("svg"), Qt::CaseInsensitive);
}

QString proposedName()
{
    return QStringLiteral("%1/Tavelmark_%2")
        .arg(AppState::instance().homePath,
             QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmm")));
}

// The picture at its own size, one picture pixel on one screen pixel, or
// shrunk into the page keeping its shape.
QPixmap pagePicture(QImage image, const MainPage *page)
{
    const QSize room = page->pixelSize;
    if (image.width() > room.width() || image.height() > room.height()) {
        // Converted in place first: scaling would otherwise make a converted
        // full-size copy beside the decoded picture.
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                : QImage::Format_RGB32);
        image = image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    image.setDevicePixelRatio(page->pixelRatio);
    return QPixmap::fromImage(std::move(image));
}

} // namespace

// What an opening keeps from one file to the next.
struct DocumentCommands::Opening
{
    QStringList files;
    bool intoCurrentPage = false;
    std::function<void()> done;
    bool fromDesktop = false;
    QSizeF area; // of the current page, for pictures put into it
    QStringList refused;
    bool allTooLarge = true;
    bool cancelled = false;
};

DocumentCommands::DocumentCommands(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
}

QStringList DocumentCommands::askOpenFileNames(const QString &strTitle, const QString &strFilter)
{
    return QFileDialog::getOpenFileNames(
        window, strTitle, AppState::instance().homePath + QLatin1Char('/'), strFilter);
}

QString DocumentCommands::askSaveFileName(const QString &strTitle, const QString &strProposed,
                                          const QString &strFilters, QString *pSelectedFilter)
{
    return QFileDialog::getSaveFileName(window, strTitle, strProposed, strFilters, pSelectedFilter);
}

void DocumentCommands::slot_Open()
{
    chooseAndOpen(false);
}

void DocumentCommands::slot_InsertImage()
{
    chooseAndOpen(true);
}

void DocumentCommands::chooseAndOpen(bool bInsert)
{
    window->modes()->whenOnDesktop([this, bInsert] { askAndOpen(bInsert); });
}

void DocumentCommands::askAndOpen(bool bInsert)
{
    const QString title = Lang::tr("MessageBox", QStringLiteral("Open"));
    const QString filter = Lang::tr(
        "MessageBox",
        bInsert ? QStringLiteral("Image Files and PDFs (*.bmp *.jpg *.jpeg *.png *.svg *.pdf)")
                : QStringLiteral("Image Files and PDFs (*.bmp *.jpg *.jpeg *.png *.pdf)"));
    Lang::release();
    const QStringList files
        = FileDialogGuard::around([&] { return askOpenFileNames(title, filter); });
    if (files.isEmpty())
        return;
    if (!bInsert) {
        window->openFiles(files);
        return;
    }
    // A PDF's pages follow the current page once the pictures are in it.
    QStringList pictures, pdfs;
    for (const QString &file : files)
        (DocumentFiles::isPdfFile(file) ? pdfs : pictures).append(file);
    OpenImages(title, pictures, true, [this, pdfs] {
        for (const QString &pdf : pdfs)
            window->documentFiles()->openDocumentFile(pdf);
    });
}

void DocumentCommands::OpenImages(const QString &strLabel, const QStringList &files,
                                  bool bIntoCurrentPage, const std::function<void()> &done)
{
    if (files.isEmpty()) {
        if (done)
            done();
        return;
    }
    auto opening = std::make_shared<Opening>();
    opening->files = files;
    opening->intoCurrentPage = bIntoCurrentPage;
    opening->done = done;
    whenIdle([this, strLabel, opening] { startOpening(strLabel, opening); });
}

// The files are checked, and decoded for new pages, on a worker; each
// result is used here in file order while the worker reads the next.
void DocumentCommands::startOpening(const QString &strLabel,
                                    const std::shared_ptr<Opening> &opening)
{
    AppState &s = AppState::instance();
    MainView *view = window->view();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    s.homePath = QFileInfo(opening->files.first()).absolutePath();
    const QString cancel = Lang::tr("MessageBox", QStringLiteral("Cancel"));
    Lang::release();
    auto *progress
        = new ProgressDialog(window, strLabel, cancel, 0, int(opening->files.size()), true);
    // Modal, so that nobody changes the pages while they come.
    progress->setWindowModality(Qt::ApplicationModal);
    progress->show();
    opening->fromDesktop = !window->modes()->isDrawMode();
    if (opening->fromDesktop)
        window->RestoreDrawTool();
    if (opening->intoCurrentPage)
        opening->area = view->currentPage() ? view->currentPage()->size : view->newPage();
    auto *loader = new PictureLoader(opening->files, !opening->intoCurrentPage, this);
    connect(progress, &QProgressDialog::canceled, loader, [opening] { opening->cancelled = true; });
    connect(loader, &PictureLoader::signal_Read, this,
            [this, opening, loader, progress](int index, const PictureCheck::Refusal &why) {
                if (!opening->cancelled) {
                    const bool more = loader->readNext();
                    openOne(*opening, opening->files.at(index), why, loader->takePicture());
                    progress->advance(index + 1);
                    if (more)
                        return;
                }
                delete progress;
                loader->deleteLater();
                finishOpening(*opening);
            });
    loader->readNext();
}

void DocumentCommands::openOne(Opening &opening, const QString &strFile,
                               const PictureCheck::Refusal &why, QImage picture)
{
    opening.allTooLarge = opening.allTooLarge && (why.isAccepted() || why.tooLarge);
    if (!why.isAccepted()) {
        opening.refused.append(why.text());
        return;
    }
    if (opening.intoCurrentPage) {
        InsertImageFile(QPointF(0, 0), opening.area, strFile, true);
        return;
    }
    MainView *view = window->view();
    if (view->newPage().isValid())
        view->setBackground(pagePicture(std::move(picture), view->currentPage()));
}

void DocumentCommands::finishOpening(const Opening &opening)
{
    if (opening.fromDesktop && window->view()->document().pageCount() > 0)
        window->SetDrawMode(true);
    QApplication::restoreOverrideCursor();
    if (!opening.refused.isEmpty())
        reportFailure(opening.allTooLarge ? QStringLiteral("Some pictures are too large to open.")
                                          : QStringLiteral("Some pictures could not be opened."),
                      opening.refused.join(QLatin1Char('\n')));
    if (opening.done)
        opening.done();
    idle();
}

bool DocumentCommands::InsertImageFile(const QPointF &point, const QSizeF &area,
                                       const QString &strFile, bool bFit, qreal pixelRatio)
{
    MainView *view = window->view();
    if (!view->currentPage() || !QFileInfo(strFile).isFile())
        return false;
    const PictureCheck::Refusal why = PictureCheck::check(strFile);
    if (!why.isAccepted()) {
        reportFailure(why.tooLarge ? QStringLiteral("The picture is too large to insert.")
                                   : QStringLiteral("The picture could not be inserted."),
                      why.text());
        return false;
    }
    const QString copy = PictureCopy::into(strFile, AppState::instance().tempFolder);
    if (copy.isEmpty()) {
        reportFailure(QStringLiteral("The picture could not be inserted."),
                      QStringLiteral("It could not be copied into the temporary folder; the "
                                     "disk may be full."));
        return false;
    }
    // Loading gives the object the picture's natural size.
    const QRectF unloaded(0, 0, 10, 10);
    ObjImage *image = isSvg(strFile) ? static_cast<ObjImage *>(new ImageSVG(unloaded))
                                     : new ImageStatic(unloaded);
    image->load(copy);
    if (image->rect.isEmpty()) {
        delete image;
        reportFailure(QStringLiteral("The picture could not be inserted."),
                      PictureCheck::unreadable(QFileInfo(strFile).fileName()).text());
        return false;
    }
    QSizeF size = image->rect.size();
    // A picture shows one of its pixels on one screen pixel, as it does in
    // other programs; vector pictures keep their logical size.
    if (image->kind == KindImageStatic)
        size /= pixelRatio > 0 ? pixelRatio : view->currentPage()->pixelRatio;
    if (bFit && (size.width() > area.width() || size.height() > area.height()))
        size.scale(area, Qt::KeepAspectRatio);
    image->rect = QRectF(QPointF((area.width() - size.width()) * 0.5 + point.x(),
                                 (area.height() - size.height()) * 0.5 + point.y()),
                         size);
    image->centre = image->rect.center();
    // The push only changes the page; the picture is painted by us.
    if (!view->pushCommand(new AddCommand(view, image)))
        return false;
    view->update(image->paintRect());
    return true;
}

bool DocumentCommands::InsertPixmap(const QPixmap &pixmap, const QSizeF &area, bool bFit)
{
    const QString folder = AppState::instance().tempFolder + QStringLiteral("insert/");
    const QString file = folder
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-hhmmss"))
        + QStringLiteral(".png");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(StampQuality);
    bool inserted = QDir().mkpath(folder) && writer.write(pixmap.toImage())
        && FileWriter::write(file, bytes, QFile::ReadOwner | QFile::WriteOwner);
    if (inserted)
        inserted = InsertImageFile(QPointF(0, 0), area, file, bFit, pixmap.devicePixelRatio());
    else
        reportFailure(QStringLiteral("The picture could not be inserted."),
                      QStringLiteral("It could not be stored in the temporary folder; the disk "
                                     "may be full."));
    QDir(folder).removeRecursively();
    return inserted;
}

bool DocumentCommands::SaveImageAs(const QImage &image)
{
    return savePicture([&image] { return image; });
}

bool DocumentCommands::savePicture(const std::function<QImage()> &picture)
{
    AppState &s = AppState::instance();
    const QString bmp = Lang::tr("MessageBox", QStringLiteral("Bitmap Files (*.bmp)"));
    const QString jpg = Lang::tr("MessageBox", QStringLiteral("JPG Files (*.jpg)"));
    QString filter = Lang::tr("MessageBox", QStringLiteral("PNG Files (*.png)"));
    const QString title = Lang::tr("MessageBox", QStringLiteral("Save"));
    Lang::release();
    QString name = FileDialogGuard::around([&] {
        return askSaveFileName(title, proposedName(),
                               QStringLiteral("%1;;%2;;%3").arg(bmp, jpg, filter), &filter);
    });
    if (name.isEmpty())
        return false;
    const QString suffix = filter == bmp ? QStringLiteral("bmp")
        : filter == jpg                  ? QStringLiteral("jpg")
                                         : QStringLiteral("png");
    if (!name.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
        name += QLatin1Char('.') + suffix;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QImage image = picture();
    const QByteArray bytes = image.isNull() ? QByteArray() : PageExporter::encode(image, suffix);
    const bool written = !bytes.isEmpty() && FileWriter::write(name, bytes);
    QApplication::restoreOverrideCursor();
    if (!written) {
        reportFailure(QStringLiteral("The picture could not be saved."),
                      Lang::single("MessageBox",
                                   QStringLiteral("%1 could not be written; the folder may be "
                                                  "write-protected or the disk full."))
                          .arg(QDir::toNativeSeparators(name)));
        return false;
    }
    s.homePath = QFileInfo(name).absolutePath();
    return true;
}

void DocumentCommands::SelectSave(int iSave, const Written &done)
{
    const Written tell = done ? done : [](bool) {};
    if (iSave == SaveDocument) {
        window->documentFiles()->saveDocument(tell);
        return;
    }
    if (iSave == SaveCurrentPage) {
        MainPage *current = window->view()->currentPage();
        if (!current) {
            tell(false);
            return;
        }
        // Rendered on a worker while the user picks the name.
        const PageRecord page = PageRenderer::snapshot(current);
        PageJobs<QImage> render(1, [page](int) { return PageRenderer::renderPage(page); });
        const bool saved = savePicture([&render] { return render.take(0).value_or(QImage()); });
        if (saved)
            current->modified = false;
        tell(saved);
        return;
    }
    // A chosen export tells `done` when it ends; the dialog tells the rest.
    ExportDlg dialog(this, window->documentFiles(), window, tell);
    if (dialog.exec() != QDialog::Accepted)
        tell(false);
}

void DocumentCommands::ExportToImage(const QString &strZip, const QString &strSuffix,
                                     bool bDrawingOnly, const Written &done)
{
    runExport(
        strZip, QStringLiteral("Export to Image"),
        [strZip, strSuffix, bDrawingOnly](PageExporter &exporter) {
            return exporter.exportImages(strZip, strSuffix, bDrawingOnly);
        },
        done);
}

void DocumentCommands::ExportToPdf(const QString &strPdf, const Written &done)
{
    runExport(
        strPdf, QStringLiteral("Export to PDF"),
        [strPdf](PageExporter &exporter) { return exporter.exportPdf(strPdf); }, done);
}

void DocumentCommands::ExportAnnotatedPdf()
{
    QString filter = Lang::tr("MessageBox", QStringLiteral("PDF Files (*.pdf)"));
    const QString title = Lang::tr("MainWindow", QStringLiteral("Export Annotated PDF..."));
    Lang::release();
    QString name = FileDialogGuard::around(
        [&] { return askSaveFileName(title, proposedName(), filter, &filter); });
    if (name.isEmpty())
        return;
    if (!name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        name += QLatin1String(".pdf");
    ExportToPdf(name);
}

void DocumentCommands::runExport(const QString &strFile, const QString &strLabel,
                                 const std::function<bool(PageExporter &)> &work,
                                 const Written &done)
{
    whenIdle([=] { startExport(strFile, strLabel, work, done); });
}

// The pages are copied out as they are now; the worker writes the copy.
void DocumentCommands::startExport(const QString &strFile, const QString &strLabel,
                                   const std::function<bool(PageExporter &)> &work,
                                   const Written &done)
{
    auto *run
        = new ExportRun(PageRenderer::snapshot(window->view()->document().pageList()), work, this);
    const QString label = Lang::tr("Export", strLabel);
    const QString cancel = Lang::tr("Export", QStringLiteral("Cancel"));
    Lang::release();
    auto *progress = new ProgressDialog(window, label, cancel, 0, run->pageCount(), true);
    // Modal, so that its Cancel is the only input the export lets through.
    progress->setWindowModality(Qt::ApplicationModal);
    connect(progress, &QProgressDialog::canceled, run, &ExportRun::cancel);
    connect(run, &ExportRun::signal_Progress, progress, &ProgressDialog::advance);
    connect(run, &ExportRun::signal_Finished, this, [=](bool written) {
        delete progress;
        QApplication::restoreOverrideCursor();
        const bool cancelled = run->wasCancelled();
        const QString error = run->errorString();
        run->deleteLater();
        finishExport(strFile, written, cancelled, error);
        if (done)
            done(written);
        idle();
    });
    progress->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    run->start();
}

void DocumentCommands::finishExport(const QString &strFile, bool bWritten, bool bCancelled,
                                    const QString &strError)
{
    if (!bWritten) {
        if (!bCancelled)
            reportFailure(
                QStringLiteral("The pages could not be exported."),
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(strFile), strError));
    } else {
        AppState::instance().homePath = QFileInfo(strFile).absolutePath();
        // Every page is now kept in the file; only later changes need saving.
        window->view()->document().setModified(false);
    }
    Q_EMIT signal_ExportFinished(bWritten);
}

void DocumentCommands::whenIdle(std::function<void()> start)
{
    if (working) {
        waiting.push_back(std::move(start));
        return;
    }
    working = true;
    start();
}

void DocumentCommands::idle()
{
    working = false;
    if (waiting.empty())
        return;
    std::function<void()> next = std::move(waiting.front());
    waiting.pop_front();
    whenIdle(std::move(next));
}

void DocumentCommands::slot_InsertText()
{
    TextInputDlg dialog(0, false, window);
    if (dialog.exec() == QDialog::Accepted && !dialog.text().isEmpty())
        placeStamp(dialog.textPixmap());
}

void DocumentCommands::slot_InsertNumber()
{
    TextInputDlg dialog(1, true, window);
    if (dialog.exec() == QDialog::Accepted && !dialog.text().isEmpty())
        placeStamp(dialog.numberPixmap(1));
}

void DocumentCommands::slot_InsertNumber_Inc()
{
    TextInputDlg dialog(1, false, window);
    if (!dialog.text().isEmpty())
        placeStamp(dialog.numberPixmap(1));
}

void DocumentCommands::placeStamp(const QPixmap &pixmap)
{
    if (pixmap.isNull())
        return;
    const bool fromDesktop = !window->modes()->isDrawMode();
    if (fromDesktop)
        window->RestoreDrawTool();
    MainView *view = window->view();
    const QSize area = view->currentPage() ? view->currentPage()->size : view->newPage();
    InsertPixmap(pixmap, area, false);
    if (fromDesktop)
        window->SetDrawMode(true);
}

void DocumentCommands::reportFailure(const QString &strText, const QString &strDetail)
{
    MessageBoxDialog box(window, strText, strDetail, QMessageBox::Ok);
    box.exec();
}
