#pragma once

#include "packagecheck.h"
#include "widgets/maindialog.h"

#include <QUrl>

#include <memory>

class DetailAnim;
class QDialogButtonBox;
class QHBoxLayout;
class QLabel;
class QProgressDialog;
class QPushButton;
class QSaveFile;
class QTextBrowser;
class QTimer;
class QVBoxLayout;
class WebModule;
class WebTransfer;

// Asks the update server for its newest release, shows the release notes and
// downloads the release's package into the data folder. Accepted ("Apply")
// only once a download is complete; the caller then reads downloadedFile()
// and hands it over with startInstaller() when the program closes.
class UpdateDlg : public MainDialog
{
    Q_OBJECT
public:
    enum Action { Nothing = 0, OpenWebPage = 1, Download = 2, Apply = 3 };

    // A server may trickle bytes for ever or send without end: each request
    // has an overall deadline, and the package a size cap.
    struct Limits
    {
        int descriptionDeadlineMs = 60 * 1000;
        int packageDeadlineMs = 60 * 60 * 1000;
        qint64 maxPackageBytes = 512LL * 1024 * 1024;
    };

    explicit UpdateDlg(QWidget *pParent = nullptr, const QUrl &base = defaultBase());
    UpdateDlg(QWidget *pParent, const QUrl &base, const Limits &limits);
    ~UpdateDlg() override;

    static QUrl defaultBase();
    // The server folder of this system's packages: "windows" or "linux".
    static QString platformName();
    // Windows runs the installer; elsewhere the folder holding the package is
    // opened, so that the user installs it with the system's own tools.
    static bool startInstaller(const QString &strFile);

    // The complete download, or an empty string when there is none.
    QString downloadedFile() const { return downloaded; }
    QString installerPath() const;

public Q_SLOTS:
    void slot_ClickDetail(bool show);
    void slot_XmlNetworkReplyFinished();
    void slot_DownloadFile();
    void slot_CancelDownload();
    void slot_HttpFinished();
    void slot_HttpReadyRead();
    void slot_UpdateDataReadProgress(qint64 bytesRead, qint64 totalBytes);
    void reject() override;

private:
    void buildWidgets();
    void buildLayout();
    void requestDescription();
    void deadlinePassed();
    void retire(std::unique_ptr<WebTransfer> &transfer);
    void showFailure(const QString &strReason, int iCode = 0);
    void showRelease(const QString &strVersion, const QString &strFileName);
    bool refuseInsecure(const QUrl &url);
    void startDownload(const QUrl &url);
    void startFileDownload();
    bool openFile();
    void discardFile();
    bool finishFile();
    QString transferProblem() const;
    QString packageProblem() const;
    bool followRedirect(const QUrl &resolved);
    bool askRedirect(const QUrl &target);
    void setStatus(const QString &strEnglish, const QString &strArg = QString());
    void setNotes(const QString &strText);

    DetailAnim *anim;
    QLabel *status;
    QHBoxLayout *row;
    QTextBrowser *notes;
    QPushButton *downloadBtn;
    QPushButton *cancelBtn;
    QDialogButtonBox *buttons;
    QVBoxLayout *column;
    QProgressDialog *progress = nullptr;
    int action = Nothing;
    std::unique_ptr<QSaveFile> file;
    WebModule *web = nullptr;
    std::unique_ptr<WebTransfer> description;
    std::unique_ptr<WebTransfer> reply;
    QTimer *deadline;
    bool aborted = false;
    qint64 received = 0;
    bool writeFailed = false;
    bool descriptionTooLarge = false;
    bool descriptionLate = false;
    bool packageLate = false;
    bool packageTooLarge = false;
    Limits limits;
    PackageCheck integrity;
    QUrl base;
    QUrl installerUrl;
    QString localName;
    QString downloaded;
    int savedWidth = -1;
    int savedHeight = -1;
};
