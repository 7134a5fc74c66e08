#include "documentfiles.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "canvas/mainview.h"
#include "document/documentreader.h"
#include "document/documentsaver.h"
#include "document/mainpage.h"
#include "widgets/filedialogguard.h"
#include "widgets/messageboxdialog.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

const char Suffix[] = ".tavelmark";

QString documentFilter()
{
    return Lang::single("MessageBox", QStringLiteral("Tavelmark Documents (*.tavelmark)"));
}

} // namespace

DocumentFiles::DocumentFiles(MainView *pView, QWidget *pDialogParent)
    : QObject(pDialogParent)
    , view(pView)
    , saver(new DocumentSaver(&pView->document(), this))
    , dialogParent(pDialogParent)
{
}

bool DocumentFiles::isDocumentFile(const QString &strPath)
{
    return strPath.endsWith(QLatin1String(Suffix), Qt::CaseInsensitive);
}

QString DocumentFiles::askOpenFileName(const QString &strTitle, const QString &strFilter)
{
    return QFileDialog::getOpenFileName(
        dialogParent, strTitle, AppState::instance().homePath + QLatin1Char('/'), strFilter);
}

QString DocumentFiles::askSaveFileName(const QString &strTitle, const QString &strProposed,
                                       const QString &strFilter)
{
    return QFileDialog::getSaveFileName(dialogParent, strTitle, strProposed, strFilter);
}

void DocumentFiles::saveDocument(const Written &done)
{
    if (path.isEmpty())
        saveDocumentAs(done);
    else
        writeTo(path, done);
}

void DocumentFiles::saveDocumentAs(const Written &done)
{
    if (view->document().pageCount() == 0) {
        finishSave(done, false);
        return;
    }
    Q_EMIT signal_DialogWanted();
    AppState &s = AppState::instance();
    const QString proposed = path.isEmpty()
        ? QStringLiteral("%1/Tavelmark_%2%3")
              .arg(s.homePath,
                   QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmm")),
                   QLatin1String(Suffix))
        : path;
    QString name = FileDialogGuard::around([&] {
        return askSaveFileName(Lang::single("MainWindow", QStringLiteral("Save Document As...")),
                               proposed, documentFilter());
    });
    if (name.isEmpty()) {
        finishSave(done, false);
        return;
    }
    if (!isDocumentFile(name))
        name += QLatin1String(Suffix);
    writeTo(name, done);
}

bool DocumentFiles::isSaving() const
{
    return saver->isBusy();
}

void DocumentFiles::holdSaves(bool bHeld)
{
    saver->setHeld(bHeld);
}

// The busy cursor says a save is under way without holding anything up.
void DocumentFiles::writeTo(const QString &strPath, const Written &done)
{
    QApplication::setOverrideCursor(Qt::BusyCursor);
    saver->save(strPath, [this, strPath, done](bool bWritten, const QString &strError) {
        QApplication::restoreOverrideCursor();
        if (bWritten) {
            AppState::instance().homePath = QFileInfo(strPath).absolutePath();
            setDocumentPath(strPath);
        } else {
            report(QStringLiteral("The document could not be saved."),
                   QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(strPath),
                                                Lang::single("MessageBox", strError)));
        }
        finishSave(done, bWritten);
    });
}

void DocumentFiles::finishSave(const Written &done, bool bWritten)
{
    if (done)
        done(bWritten);
    Q_EMIT signal_Saved(bWritten);
}

void DocumentFiles::openDocument()
{
    Q_EMIT signal_DialogWanted();
    const QString name = FileDialogGuard::around([this] {
        return askOpenFileName(Lang::single("MainWindow", QStringLiteral("Open Document...")),
                               documentFilter());
    });
    if (!name.isEmpty())
        openDocumentFile(name);
}

bool DocumentFiles::openDocumentFile(const QString &strPath)
{
    const QString absolute = QFileInfo(strPath).absoluteFilePath();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    DocumentReader reader;
    const QList<MainPage *> pages = reader.read(absolute);
    QApplication::restoreOverrideCursor();
    if (pages.isEmpty()) {
        report(QStringLiteral("The document could not be opened."),
               QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(absolute),
                                            Lang::single("MessageBox", reader.error())));
        return false;
    }
    const bool becomesTheDocument = view->document().pageCount() == 0;
    AppState &s = AppState::instance();
    s.nextNumber
        = becomesTheDocument ? reader.nextNumber() : qMax(s.nextNumber, reader.nextNumber());
    s.homePath = QFileInfo(absolute).absolutePath();
    view->document().addPages(pages);
    if (becomesTheDocument)
        setDocumentPath(absolute);
    Q_EMIT signal_PagesOpened();
    if (!reader.notes().isEmpty()) {
        QStringList notes;
        for (const QString &note : reader.notes())
            notes.append(Lang::tr("MessageBox", note));
        Lang::release();
        report(QStringLiteral("Some parts of the document were left out."),
               notes.join(QLatin1Char('\n')));
    }
    return true;
}

void DocumentFiles::forgetDocument()
{
    setDocumentPath(QString());
}

void DocumentFiles::setDocumentPath(const QString &strPath)
{
    path = strPath;
    view->document().setName(QFileInfo(path).completeBaseName());
    Q_EMIT signal_NameChanged(view->document().name());
}

void DocumentFiles::report(const QString &strText, const QString &strInformative)
{
    MessageBoxDialog box(dialogParent, strText, strInformative, QMessageBox::Ok);
    box.exec();
}
