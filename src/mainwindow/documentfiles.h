#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class DocumentSaver;
class DocumentLoad;
class MainView;
class PdfLoad;
class QWidget;

// The editable document: saving all pages as one `.tavelmark` file and
// opening such files again. An open document adds its pages after the
// current one or, when there are none, becomes the document whose name the
// window shows and which Save Document writes again. A PDF opens the same
// way, a page for each of its pages, but never becomes the file that Save
// Document writes. The file is written on
// a worker while the program goes on; a save asked meanwhile follows it.
class DocumentFiles : public QObject
{
    Q_OBJECT
public:
    // Told whether the file was written, once the save has ended and a
    // failure has been told.
    using Written = std::function<void(bool)>;

    DocumentFiles(MainView *pView, QWidget *pDialogParent);

    static bool isDocumentFile(const QString &strPath);
    static bool isPdfFile(const QString &strPath);

    bool hasDocument() const { return !path.isEmpty(); }
    QString documentPath() const { return path; }
    // The document is written where it was opened or last saved; the first
    // time a name is asked for.
    void saveDocument(const Written &done = {});
    void saveDocumentAs(const Written &done = {});
    // A save is being written or waits its turn.
    bool isSaving() const;
    // While pages of an opened document are still coming in, saves wait.
    void holdSaves(bool bHeld);
    void openDocument();
    // Learns the number the first page of an opened document received, or
    // 0 when nothing opened.
    using Opened = std::function<void(int firstPage)>;
    // Opens strPath as the user's choice would. Its pages come in after the
    // call returns; documents asked for meanwhile open one after another.
    void openDocumentFile(const QString &strPath, const Opened &then = {});
    // Pages of a document are still coming in: what the file would hold if
    // it were written now is not the whole document.
    bool isLoading() const { return load != nullptr || pdfLoad != nullptr; }
    // The pages are gone: the next save asks for a name again.
    void forgetDocument();
    // The pages are those of the document at strPath again (after a crash).
    void setDocumentPath(const QString &strPath);

    // The file dialogs; an empty answer is a cancel. Tests answer them
    // without showing a dialog.
    virtual QString askOpenFileName(const QString &strTitle, const QString &strFilter);
    virtual QString askSaveFileName(const QString &strTitle, const QString &strProposed,
                                    const QString &strFilter);
    // Asks for the password of the PDF strFile (again after a wrong one) and
    // tells `answer` (false: cancelled) once the user has answered.
    using PasswordAnswer = std::function<void(bool bGiven, const QString &strPassword)>;
    virtual void askPassword(const QString &strFile, bool bWrongBefore,
                             const PasswordAnswer &answer);

Q_SIGNALS:
    // Pages were added: drawing mode should show them.
    void signal_PagesOpened();
    // The document's file name, or empty.
    void signal_NameChanged(QString strName);
    // A file dialog is about to open over the pages.
    void signal_DialogWanted();
    // A save ended (cancelled ones too), after its failure was told.
    void signal_Saved(bool bWritten);
    // No document is loading any more.
    void signal_LoadFinished();

private:
    void writeTo(const QString &strPath, const Written &done);
    void finishSave(const Written &done, bool bWritten);
    void report(const QString &strText, const QString &strInformative);
    void startLoad();
    void startPdfLoad(const QString &strPath, const Opened &then);
    void loaded(bool bOpened, const QString &strPath, const Opened &then);
    void pdfLoaded(bool bOpened, const QString &strPath, const Opened &then);
    void nextLoad(const Opened &then, int firstPage);

    MainView *view;
    DocumentSaver *saver;
    QWidget *dialogParent;
    QString path;
    struct Asked
    {
        QString path;
        Opened then;
    };
    QList<Asked> asked;
    DocumentLoad *load = nullptr;
    PdfLoad *pdfLoad = nullptr;
};
