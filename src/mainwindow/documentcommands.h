#pragma once

#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QStringList>

#include <functional>

class MainWindow;
class PageExporter;
class QImage;
class QPixmap;

// The main window's file commands: pictures in as pages or image objects,
// the document out as one picture, a ZIP of page pictures or a PDF, and the
// text and number stamps. Saving and exporting return whether a file was
// really written; every failure is shown to the user.
class DocumentCommands : public QObject
{
    Q_OBJECT
public:
    explicit DocumentCommands(MainWindow *pWindow);

    void OpenImages(const QString &strLabel, const QStringList &files, bool bIntoCurrentPage);
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
    bool SelectSave(int iSave);
    bool ExportToImage(const QString &strZip, const QString &strSuffix, bool bDrawingOnly);
    bool ExportToPdf(const QString &strPdf);

    // The file dialogs, starting in the home path; an empty answer is a
    // cancel. Tests answer them without showing a dialog.
    virtual QStringList askOpenFileNames(const QString &strTitle, const QString &strFilter);
    virtual QString askSaveFileName(const QString &strTitle, const QString &strProposed,
                                    const QString &strFilters, QString *pSelectedFilter);

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
    bool runExport(const QString &strFile, const QString &strLabel,
                   const std::function<bool(PageExporter &)> &work);
    void reportFailure(const QString &strText, const QString &strDetail);

    MainWindow *window;
};
