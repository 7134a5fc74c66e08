#include "documentcommands.h"
#include "documentfiles.h"

#include "app/appstate.h"
#include "app/filewriter.h"
#include "app/lang.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "dialogs/textinputdlg.h"
#include "document/addcommand.h"
#include "document/imagestatic.h"
#include "document/imagesvg.h"
#include "document/mainpage.h"
#include "document/pagejobs.h"
#include "document/pagerenderer.h"
#include "document/safeimagereader.h"
#include "exportdlg.h"
#include "mainwindow.h"
#include "pageexporter.h"
#include "picturecopy.h"
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

void processPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

struct Refusal
{
    QString why; // empty when the file is accepted
    bool tooLarge = false;
};

// A message's template in the user's language.
QString message(const char *strEnglish)
{
    return Lang::single("MessageBox", QLatin1String(strEnglish));
}

int megabytes(qint64 bytes)
{
    return int(bytes / (qint64(1024) * 1024));
}

QString pixelRefusal(const QString &strName, const QSize &size)
{
    return message("%1 has %2 x %3 pixels; the largest picture accepted has %4 million pixels "
                   "(for example 8192 x 8192).")
        .arg(strName)
        .arg(size.width())
        .arg(size.height())
        .arg(SafeImageReader::MaxImageBytes / 4 / 1000000);
}

// strTemplate: the file's name, its size and the largest size, in MB.
QString fileRefusal(const QString &strName, qint64 bytes, qint64 limit, const char *strTemplate)
{
    return message(strTemplate).arg(strName).arg(megabytes(bytes)).arg(megabytes(limit));
}

Refusal svgRefusal(const QString &strName, const SafeImageReader::Header &header)
{
    if (header.fileBytes > SafeImageReader::MaxSvgFileBytes)
        return { fileRefusal(strName, header.fileBytes, SafeImageReader::MaxSvgFileBytes,
                             "%1 has %2 MB; the largest SVG file accepted has %3 MB."),
                 true };
    switch (header.check.verdict) {
    case SvgCheck::TooManyPixels:
        return { message("%1 embeds pictures of more than %2 million pixels in all; the largest "
                         "picture accepted has %2 million pixels.")
                     .arg(strName)
                     .arg(SafeImageReader::MaxImageBytes / 4 / 1000000),
                 true };
    case SvgCheck::OutsideReference:
        return { message("%1 refers to other files. Only pictures embedded in an SVG file are "
                         "accepted.")
                     .arg(strName),
                 false };
    case SvgCheck::EmbeddedNotPicture:
        return { message("%1 embeds something that is not a picture.").arg(strName), false };
    case SvgCheck::EmbeddedFormat:
        return { message("%1 embeds a picture in a format that SVG files may not embed here; "
                         "PNG, JPEG, GIF and BMP are accepted.")
                     .arg(strName),
                 false };
    case SvgCheck::TooDeep:
        return { message("%1 nests its elements too deeply.").arg(strName), false };
    case SvgCheck::NotSvg:
    case SvgCheck::Sound:
        break;
    }
    return {};
}

Refusal unreadable(const QString &strName)
{
    return { message("%1 is not a picture that can be read, or it is damaged.").arg(strName),
             false };
}

// A file that cannot give a picture at all, or an empty refusal. A folder
// or a pipe is never opened; a name whose bytes are not UTF-8 arrives with
// replacement characters, and no file is found under it.
Refusal fileFailure(const QString &strFile, const QString &strName)
{
    const QFileInfo info(strFile);
    if (info.exists() && !info.isFile())
        return unreadable(strName);
    if (!info.exists() && strName.contains(QChar::ReplacementCharacter))
        return { message("The name %1 is not valid UTF-8, so Tavelmark cannot open the file. "
                         "Rename it and try again.")
                     .arg(strName),
                 false };
    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly))
        return { message("%1 cannot be read: %2").arg(strName, file.errorString()), false };
    if (file.size() == 0)
        return { message("%1 is empty.").arg(strName), false };
    return {};
}

Refusal svgSizeRefusal(const QString &strName, const QSize &size)
{
    if (size.isEmpty())
        return unreadable(strName);
    if (size.width() <= ImageSVG::MaxSide && size.height() <= ImageSVG::MaxSide)
        return {};
    return { message("%1 is %2 x %3 pixels; an SVG picture may have at most %4 pixels a side.")
                 .arg(strName)
                 .arg(size.width())
                 .arg(size.height())
                 .arg(ImageSVG::MaxSide),
             true };
}

// Why a picture file is refused before anything is decoded, or an empty
// text: files that give no picture, files past the picture budget and SVG
// files that would make the renderer read other files.
Refusal refusal(const QString &strFile)
{
    const QString name = QFileInfo(strFile).fileName();
    const Refusal failure = fileFailure(strFile, name);
    if (!failure.why.isEmpty())
        return failure;
    const SafeImageReader::Header header = SafeImageReader::inspect(strFile);
    if (header.svg) {
        const Refusal why = svgRefusal(name, header);
        return why.why.isEmpty() ? svgSizeRefusal(name, header.size) : why;
    }
    if (header.fileBytes > SafeImageReader::MaxFileBytes)
        return { fileRefusal(name, header.fileBytes, SafeImageReader::MaxFileBytes,
                             "%1 has %2 MB; the largest picture file accepted has %3 MB."),
                 true };
    const QSize size = header.size;
    if (!size.isValid() || size.isEmpty())
        return unreadable(name);
    if (qint64(size.width()) * size.height() * 4 <= SafeImageReader::MaxImageBytes)
        return {};
    return { pixelRefusal(name, size), true };
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

// A picture file as the background of a new page, made once the picture is
// read: a file that gives none is told, never shown as a blank page.
Refusal openAsPage(MainView *view, const QString &strFile)
{
    const Refusal why = refusal(strFile);
    if (!why.why.isEmpty())
        return why;
    QImage image = SafeImageReader::read(strFile);
    if (image.isNull())
        return unreadable(QFileInfo(strFile).fileName());
    if (view->newPage().isValid())
        view->setBackground(pagePicture(std::move(image), view->currentPage()));
    return {};
}

} // namespace

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
    AppState &s = AppState::instance();
    if (ToolKit::instance().currentToolId() != ToolKit::Mouse) {
        window->slot_Mouse(1, true);
        // With the live desktop, drawing mode ends on a short timer.
        while (s.mode == 1 && s.liveDesktop)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents
                                            | QEventLoop::WaitForMoreEvents);
    }
    const QString title = Lang::tr("MessageBox", QStringLiteral("Open"));
    const QString filter
        = Lang::tr("MessageBox",
                   bInsert ? QStringLiteral("Image Files (*.bmp *.jpg *.jpeg *.png *.svg)")
                           : QStringLiteral("Image Files (*.bmp *.jpg *.jpeg *.png)"));
    Lang::release();
    const QStringList files
        = FileDialogGuard::around([&] { return askOpenFileNames(title, filter); });
    if (!files.isEmpty())
        OpenImages(title, files, bInsert);
}

void DocumentCommands::OpenImages(const QString &strLabel, const QStringList &files,
                                  bool bIntoCurrentPage)
{
    if (files.isEmpty())
        return;
    AppState &s = AppState::instance();
    MainView *view = window->view();
    QStringList refused;
    bool allTooLarge = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    s.homePath = QFileInfo(files.first()).absolutePath();
    {
        ProgressDialog progress(window, strLabel, QString(), 0, int(files.size()), true);
        progress.show();
        const bool fromDesktop = s.mode == 0;
        if (fromDesktop)
            window->RestoreDrawTool();
        QSizeF area;
        if (bIntoCurrentPage)
            area = view->currentPage() ? view->currentPage()->size : view->newPage();
        for (int i = 0; i < files.size(); ++i) {
            progress.setValue(i);
            processPendingEvents();
            const Refusal why
                = bIntoCurrentPage ? refusal(files.at(i)) : openAsPage(view, files.at(i));
            allTooLarge = allTooLarge && (why.why.isEmpty() || why.tooLarge);
            if (!why.why.isEmpty())
                refused.append(why.why);
            else if (bIntoCurrentPage)
                InsertImageFile(QPointF(0, 0), area, files.at(i), true);
        }
        if (fromDesktop && view->pageCount() > 0)
            window->SetDrawMode(true);
        progress.setValue(int(files.size()));
    }
    QApplication::restoreOverrideCursor();
    if (!refused.isEmpty())
        reportFailure(allTooLarge ? QStringLiteral("Some pictures are too large to open.")
                                  : QStringLiteral("Some pictures could not be opened."),
                      refused.join(QLatin1Char('\n')));
}

bool DocumentCommands::InsertImageFile(const QPointF &point, const QSizeF &area,
                                       const QString &strFile, bool bFit, qreal pixelRatio)
{
    MainView *view = window->view();
    if (!view->currentPage() || !QFileInfo(strFile).isFile())
        return false;
    const Refusal why = refusal(strFile);
    if (!why.why.isEmpty()) {
        reportFailure(why.tooLarge ? QStringLiteral("The picture is too large to insert.")
                                   : QStringLiteral("The picture could not be inserted."),
                      why.why);
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
                      unreadable(QFileInfo(strFile).fileName()).why);
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

bool DocumentCommands::SelectSave(int iSave)
{
    if (iSave == SaveDocument)
        return window->documentFiles()->saveDocument();
    if (iSave == SaveCurrentPage) {
        MainPage *current = window->view()->currentPage();
        if (!current)
            return false;
        // Rendered on a worker while the user picks the name.
        const PageRecord page = PageRenderer::snapshot(current);
        PageJobs<QImage> render(1, [page](int) { return PageRenderer::renderPage(page); });
        if (!savePicture([&render] { return render.take(0).value_or(QImage()); }))
            return false;
        current->modified = false;
        return true;
    }
    ExportDlg dialog(this, window->documentFiles(), window);
    dialog.exec();
    return dialog.written();
}

bool DocumentCommands::ExportToImage(const QString &strZip, const QString &strSuffix,
                                     bool bDrawingOnly)
{
    return runExport(strZip, QStringLiteral("Export to Image"), [&](PageExporter &exporter) {
        return exporter.exportImages(strZip, strSuffix, bDrawingOnly);
    });
}

bool DocumentCommands::ExportToPdf(const QString &strPdf)
{
    return runExport(strPdf, QStringLiteral("Export to PDF"),
                     [&](PageExporter &exporter) { return exporter.exportPdf(strPdf); });
}

bool DocumentCommands::runExport(const QString &strFile, const QString &strLabel,
                                 const std::function<bool(PageExporter &)> &work)
{
    PageExporter exporter(window->view());
    bool written = false;
    {
        const QString label = Lang::tr("Export", strLabel);
        const QString cancel = Lang::tr("Export", QStringLiteral("Cancel"));
        Lang::release();
        ProgressDialog progress(window, label, cancel, 0, window->view()->pageCount(), true);
        // Modal, so that its Cancel is the only input the export lets through.
        progress.setWindowModality(Qt::ApplicationModal);
        connect(&progress, &QProgressDialog::canceled, &progress,
                [&exporter] { exporter.cancel(); });
        progress.show();
        exporter.progress = [&progress](int i) {
            progress.setValue(i);
            processPendingEvents();
        };
        QApplication::setOverrideCursor(Qt::WaitCursor);
        written = work(exporter);
        QApplication::restoreOverrideCursor();
    }
    if (!written && exporter.wasCancelled())
        return false;
    if (!written) {
        reportFailure(QStringLiteral("The pages could not be exported."),
                      QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(strFile),
                                                   exporter.errorString()));
        return false;
    }
    AppState::instance().homePath = QFileInfo(strFile).absolutePath();
    // Every page is now kept in the file; only later changes need saving.
    window->view()->setAllPagesModified(false);
    return true;
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
    const bool fromDesktop = AppState::instance().mode == 0;
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
