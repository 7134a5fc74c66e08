#pragma once

#include "document/pdfmodule.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class MainPage;
class MainView;
class PdfSource;

// Opens a PDF on a worker and adds one page for each of its pages, of the
// size of the screen in use, showing that PDF page fitted to the screen's
// pixels. The worker also renders the first page, which goes in alone and
// shows at once; the others follow in short slices (they are rendered when
// shown). The pages follow the current page; the first becomes current.
// An opening that outlasts the deadline is refused and its late result
// dropped. A PDF that wants a password says so and waits for retry() or
// cancel(). Clearing the document, or deleting the load, stops it.
class PdfLoad : public QObject
{
    Q_OBJECT
public:
    // PdfSource::open unless a test gives another.
    using Opener = std::function<std::shared_ptr<PdfSource>(const QByteArray &, const QString &,
                                                            PdfRefusal *)>;

    PdfLoad(MainView *pView, const QString &strPath, QObject *pParent = nullptr);
    ~PdfLoad() override;

    void setOpener(Opener open) { opener = std::move(open); }
    void setDeadline(int ms) { deadline.setInterval(ms); }

    void start() { attempt(QString()); }
    // Opens again with `strPassword`, after signal_PasswordWanted.
    void retry(const QString &strPassword) { attempt(strPassword); }
    // Gives up without a message, after signal_PasswordWanted.
    void cancel();

    int firstPageNumber() const { return firstNumber; }
    bool wasStopped() const { return stopped; }
    // English text for the message lookup; empty when nothing failed.
    QString error() const { return errorText; }

Q_SIGNALS:
    void signal_PasswordWanted(bool bWrongBefore);
    void signal_FirstPage();
    void signal_Waiting(int pages);
    // Every page is in, or nothing opened (`opened` false), or the load was
    // stopped or cancelled.
    void signal_Finished(bool opened);

private:
    struct Attempt;
    void attempt(const QString &strPassword);
    void opened(QByteArray data, std::shared_ptr<PdfSource> source, PdfRefusal why,
                const QString &strError, QImage first);
    void refuse(const QString &strError);
    MainPage *makePage(int index) const;
    void addFirst(QImage first);
    void addSlice();
    int insertIndex() const;
    void finish(bool bOpened);

    MainView *view;
    QString path;
    Opener opener;
    QSize size;
    QSize pixels;
    qreal ratio = 1;
    QTimer deadline;
    std::shared_ptr<Attempt> running;
    QByteArray bytes;
    std::shared_ptr<PdfSource> pdf;
    int made = 0;
    int firstNumber = 0;
    int lastAddedId = 0;
    bool stopped = false;
    bool finished = false;
    QString errorText;
};
