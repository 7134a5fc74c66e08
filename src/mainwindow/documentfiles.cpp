#include "documentfiles.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "canvas/mainview.h"
#include "document/documentsaver.h"
#include "documentload.h"
#include "pdfload.h"
#include "widgets/filedialogguard.h"
#include "widgets/messageboxdialog.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QPointer>

#include <utility>

namespace {

const char Suffix[] = ".tavelmark";

QString documentFilter()
{
    return Lang::single("MessageBox", QStringLiteral("Tavelmark Documents (*.tavelmark)"));
}

QString openFilter()
{
    return Lang::single("MessageBox",
                        QStringLiteral("Tavelmark Documents and PDFs (*.tavelmark *.pdf)"));
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

bool DocumentFiles::isPdfFile(const QString &strPath)
{
    return strPath.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

QString DocumentFiles::askOpenFileName(const QString &strTitle, const QString &strFilter)
{
    return QFileDialog::getOpenFileName(
        dialogParent, strTitle, AppState::instance().homePath + QLatin1Char('/'), strFilter);
}

void DocumentFiles::askPassword(const QString &strFile, bool bWrongBefore,
                                const PasswordAnswer &answer)
{
    auto *dialog = new QInputDialog(dialogParent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(MessageBoxDialog::productTitle());
    dialog->setTextEchoMode(QLineEdit::Password);
    const QString asked = bWrongBefore
        ? QStringLiteral("The password was wrong. Enter the password of %1:")
        : QStringLiteral("%1 is protected by a password. Enter it to open the PDF:");
    dialog->setLabelText(Lang::tr("MessageBox", asked).arg(QFileInfo(strFile).fileName()));
    dialog->setOkButtonText(Lang::tr("MessageBox", QStringLiteral("OK")));
    dialog->setCancelButtonText(Lang::tr("MessageBox", QStringLiteral("Cancel")));
    Lang::release();
    connect(dialog, &QInputDialog::finished, this, [dialog, answer](int result) {
        answer(result == QDialog::Accepted, dialog->textValue());
    });
    dialog->open();
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
                               openFilter());
    });
    if (!name.isEmpty())
        openDocumentFile(name);
}

void DocumentFiles::openDocumentFile(const QString &strPath, const Opened &then)
{
    asked.append({ QFileInfo(strPath).absoluteFilePath(), then });
    if (!load)
        startLoad();
}

void DocumentFiles::startLoad()
{
    const Asked next = asked.takeFirst();
    // A file written before every page is in would lose the rest.
    holdSaves(true);
    if (isPdfFile(next.path)) {
        startPdfLoad(next.path, next.then);
        return;
    }
    const bool becomesTheDocument = view->document().pageCount() == 0;
    load = new DocumentLoad(view, next.path, this);
    connect(load, &DocumentLoad::signal_FirstPage, this, [this, next, becomesTheDocument] {
        AppState &s = AppState::instance();
        s.nextNumber
            = becomesTheDocument ? load->nextNumber() : qMax(s.nextNumber, load->nextNumber());
        s.homePath = QFileInfo(next.path).absolutePath();
        if (becomesTheDocument)
            setDocumentPath(next.path);
        Q_EMIT signal_PagesOpened();
    });
    connect(load, &DocumentLoad::signal_Waiting, view, &MainView::setPagesLoading);
    connect(load, &DocumentLoad::signal_Finished, this,
            [this, next](bool ok) { loaded(ok, next.path, next.then); });
    load->start();
}

void DocumentFiles::loaded(bool bOpened, const QString &strPath, const Opened &then)
{
    view->setPagesLoading(0);
    DocumentLoad *done = std::exchange(load, nullptr);
    done->deleteLater();
    if (!bOpened && !done->wasStopped()) {
        report(QStringLiteral("The document could not be opened."),
               QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(strPath),
                                            Lang::single("MessageBox", done->error())));
    } else if (bOpened && !done->notes().isEmpty()) {
        QStringList notes;
        for (const QString &note : done->notes())
            notes.append(Lang::tr("MessageBox", note));
        Lang::release();
        report(QStringLiteral("Some parts of the document were left out."),
               notes.join(QLatin1Char('\n')));
    }
    nextLoad(then, done->firstPageNumber());
}

// A PDF's pages never make it the file Save Document writes.
void DocumentFiles::startPdfLoad(const QString &strPath, const Opened &then)
{
    pdfLoad = new PdfLoad(view, strPath, this);
    connect(pdfLoad, &PdfLoad::signal_PasswordWanted, this, [this, strPath](bool bWrong) {
        Q_EMIT signal_DialogWanted();
        askPassword(strPath, bWrong,
                    [load = QPointer<PdfLoad>(pdfLoad)](bool bGiven, const QString &strPassword) {
                        if (load && bGiven)
                            load->retry(strPassword);
                        else if (load)
                            load->cancel();
                    });
    });
    connect(pdfLoad, &PdfLoad::signal_FirstPage, this, [this, strPath] {
        AppState::instance().homePath = QFileInfo(strPath).absolutePath();
        Q_EMIT signal_PagesOpened();
    });
    connect(pdfLoad, &PdfLoad::signal_Waiting, view, &MainView::setPagesLoading);
    connect(pdfLoad, &PdfLoad::signal_Finished, this,
            [this, strPath, then](bool ok) { pdfLoaded(ok, strPath, then); });
    pdfLoad->start();
}

void DocumentFiles::pdfLoaded(bool bOpened, const QString &strPath, const Opened &then)
{
    view->setPagesLoading(0);
    PdfLoad *done = std::exchange(pdfLoad, nullptr);
    done->deleteLater();
    if (!bOpened && !done->wasStopped())
        report(QStringLiteral("The PDF could not be opened."),
               QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(strPath),
                                            Lang::single("MessageBox", done->error())));
    nextLoad(then, done->firstPageNumber());
}

void DocumentFiles::nextLoad(const Opened &then, int firstPage)
{
    if (then)
        then(firstPage);
    if (isLoading())
        return;
    if (asked.isEmpty()) {
        holdSaves(false);
        Q_EMIT signal_LoadFinished();
    } else
        startLoad();
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
