#pragma once

#include <QObject>
#include <QString>

class MainView;
class QWidget;

// The editable document: saving all pages as one `.tavelmark` file and
// opening such files again. An open document adds its pages after the
// current one or, when there are none, becomes the document whose name the
// window shows and which Save Document writes again.
class DocumentFiles : public QObject
{
    Q_OBJECT
public:
    DocumentFiles(MainView *pView, QWidget *pDialogParent);

    static bool isDocumentFile(const QString &strPath);

    bool hasDocument() const { return !path.isEmpty(); }
    QString documentPath() const { return path; }
    // The document is written where it was opened or last saved; the first
    // time a name is asked for. False when nothing was written.
    bool saveDocument();
    bool saveDocumentAs();
    void openDocument();
    // Opens strPath as the user's choice would; false when nothing opened.
    bool openDocumentFile(const QString &strPath);
    // The pages are gone: the next save asks for a name again.
    void forgetDocument();
    // The pages are those of the document at strPath again (after a crash).
    void setDocumentPath(const QString &strPath);

    // The file dialogs; an empty answer is a cancel. Tests answer them
    // without showing a dialog.
    virtual QString askOpenFileName(const QString &strTitle, const QString &strFilter);
    virtual QString askSaveFileName(const QString &strTitle, const QString &strProposed,
                                    const QString &strFilter);

Q_SIGNALS:
    // Pages were added: drawing mode should show them.
    void signal_PagesOpened();
    // The document's file name, or empty.
    void signal_NameChanged(QString strName);
    // A file dialog is about to open over the pages.
    void signal_DialogWanted();

private:
    bool writeTo(const QString &strPath);
    void report(const QString &strText, const QString &strInformative);

    MainView *view;
    QWidget *dialogParent;
    QString path;
};
