#pragma once

#include "picturecheck.h"

#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>

class MainWindow;
class PageExporter;
class QImage;
class QPixmap;

// The main window's file commands: pictures in as pages or image objects,
// the document out as one picture, a ZIP of page pictures or a PDF, and the
// text and number stamps. Saving and exporting tell whether a file was
// really written; every failure is shown to the user. Opening pictures and
// exporting read and write on a worker behind an application-modal progress
// dialog and finish in a continuation; one asked while another runs starts
// when it ends.
class DocumentCommands : public QObject
{
    Q_OBJECT
public:
    // Told whether a file was really written.
    using Written = std::function<void(bool)>;

    explicit DocumentCommands(MainWindow *pWindow);

    // `done` runs once the last page is added and the refused files are told.
    void OpenImages(const QString &strLabel, const QStringList &files, bool bIntoCurrentPage,
                    const std::function<void()> &done = {});
    // Places one picture file, centred in `area` from `point`, on the current
    // page; with bFit a larger picture is scaled down into the area. A raster
    // picture has pixelRatio pixels per logical pixel (0: the page's ratio).
    bool InsertImageFile(const QPointF &point, const QSizeF &area, const QString &strFile,
                         bool bFit, qreal pixelRatio = 0);
    bool InsertPixmap(const QPixmap &pixmap, const QSizeF &area, bool bFit);
    bool SaveImageAs(const QImage &image);
    enum SaveChoice { SaveCurrentPage = 0, SaveAllPages = 1, SaveDocument = 2 };
    // The current page as one picture, the export dialog, or the editable
    // document.
    void SelectSave(int iSave, const Written &done = {});
    void ExportToImage(const QString &strZip, const QString &strSuffix, bool bDrawingOnly,
                       const Written &done = {});
    void ExportToPdf(const QString &strPdf, const Written &done = {});
    // Asks for the name, then exports as ExportToPdf does.
    void ExportAnnotatedPdf();

    // The file dialogs, starting in the home path; an empty answer is a
    // cancel. Tests answer them without showing a dialog.
    virtual QStringList askOpenFileNames(const QString &strTitle, const QString &strFilter);
    virtual QString askSaveFileName(const QString &strTitle, const QString &strProposed,
                                    const QString &strFilters, QString *pSelectedFilter);

Q_SIGNALS:
    // After any export, once its failure is told.
    void signal_ExportFinished(bool bWritten);

public Q_SLOTS:
    void slot_Open();
    void slot_InsertImage();
    void slot_InsertText();
    void slot_InsertNumber();
    void slot_InsertNumber_Inc();

private:
    void chooseAndOpen(bool bInsert);
    void askAndOpen(bool bInsert);
    // Asks for the name first; `picture` is called only once a name is chosen.
    bool savePicture(const std::function<QImage()> &picture);
    void placeStamp(const QPixmap &pixmap);
    struct Opening;
    void startOpening(const QString &strLabel, const std::shared_ptr<Opening> &opening);
    void openOne(Opening &opening, const QString &strFile, const PictureCheck::Refusal &why,
                 QImage picture);
    void finishOpening(const Opening &opening);
    void runExport(const QString &strFile, const QString &strLabel,
                   const std::function<bool(PageExporter &)> &work, const Written &done);
    void startExport(const QString &strFile, const QString &strLabel,
                     const std::function<bool(PageExporter &)> &work, const Written &done);
    void finishExport(const QString &strFile, bool bWritten, bool bCancelled,
                      const QString &strError);
    void reportFailure(const QString &strText, const QString &strDetail);
    // Runs `start` now when nothing runs, else once the running work and
    // those asked before have ended; every start leads to one idle().
    void whenIdle(std::function<void()> start);
    void idle();

    MainWindow *window;
    bool working = false;
    std::deque<std::function<void()>> waiting;
};
