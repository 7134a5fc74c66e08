#include "updatedlg.h"

#include "app/appstate.h"
#include "app/installationsettings.h"
#include "app/lang.h"
#include "detailanim.h"
#include "updatedescription.h"
#include "webloader.h"
#include "webmodule.h"
#include "widgets/messageboxdialog.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A description is a page of text; anything bigger is not one.
constexpr qint64 MaxDescriptionSize = qint64(1024) * 1024;
// A transfer that stalls this long fails instead of hanging.
constexpr int TransferTimeout = 30000;
// The package flows to its file through a small buffer, however fast it comes.
constexpr qint64 ReadBufferBytes = qint64(1024) * 1024;

QString text(const char *strEnglish)
{
    return Lang::tr("Update", QLatin1String(strEnglish));
}

bool isWindows()
{
    return QSysInfo::kernelType() == QLatin1String("winnt");
}

} // namespace

UpdateDlg::UpdateDlg(QWidget *pParent, const QUrl &baseUrl)
    : UpdateDlg(pParent, baseUrl, Limits())
{
}

UpdateDlg::UpdateDlg(QWidget *pParent, const QUrl &baseUrl, const Limits &requestLimits)
    : MainDialog(pParent)
    , deadline(new QTimer(this))
    , limits(requestLimits)
    , base(baseUrl)
{
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, &UpdateDlg::deadlinePassed);
    buildWidgets();
    buildLayout();
    Lang::release();
    requestDescription();
}

// Deleting a transfer ends it without a word.
UpdateDlg::~UpdateDlg() = default;

QUrl UpdateDlg::defaultBase()
{
    return InstallationSettings::updateServer();
}

QString UpdateDlg::platformName()
{
    return isWindows() ? QStringLiteral("windows") : QStringLiteral("linux");
}

bool UpdateDlg::startInstaller(const QString &strFile)
{
    const QFileInfo info(strFile);
    if (strFile.isEmpty() || !info.isFile())
        return false;
    const QString target = isWindows() ? info.absoluteFilePath() : info.absolutePath();
    return QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}

QString UpdateDlg::installerPath() const
{
    QString folder = AppState::instance().dataFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return QDir(folder).filePath(localName);
}

void UpdateDlg::buildWidgets()
{
    const AppState &s = AppState::instance();
    setFixedWidth(s.scaled(380));
    setWindowTitle(text("Update"));
    anim = new DetailAnim(this);
    anim->setAccessibleName(text("Release notes"));
    connect(anim, &DetailAnim::signal_Click, this, &UpdateDlg::slot_ClickDetail);
    anim->start();
    status = new QLabel(text("Check for available updates..."), this);
    status->setObjectName(QStringLiteral("status"));
    // Parts of the status come from the server: never read them as markup.
    status->setTextFormat(Qt::PlainText);
    status->setWordWrap(true);
    notes = new QTextBrowser(this);
    notes->setObjectName(QStringLiteral("notes"));
    notes->setOpenLinks(false);
    notes->setMinimumSize(s.scaled(350), s.scaled(200));
    notes->hide();
    downloadBtn = new QPushButton(text("Download"), this);
    downloadBtn->setObjectName(QStringLiteral("download"));
    downloadBtn->setDefault(true);
    downloadBtn->setEnabled(false);
    connect(downloadBtn, &QPushButton::clicked, this, &UpdateDlg::slot_DownloadFile);
    cancelBtn = new QPushButton(text("Cancel"), this);
    cancelBtn->setAutoDefault(false);
    connect(cancelBtn, &QPushButton::clicked, this, &QWidget::close);
}

void UpdateDlg::buildLayout()
{
    row = new QHBoxLayout;
    row->addWidget(anim);
    row->addWidget(status, 1);
    buttons = new QDialogButtonBox(this);
    buttons->addButton(downloadBtn, QDialogButtonBox::ActionRole);
    buttons->addButton(cancelBtn, QDialogButtonBox::RejectRole);
    column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addWidget(notes, 1);
    column->addStretch();
    column->addWidget(buttons);
}

void UpdateDlg::requestDescription()
{
    web = WebLoader::module();
    if (!web) {
        showFailure(QStringLiteral("Error code:%1The network support could not be loaded; "
                                   "reinstalling Tavelmark may repair it.%2"));
        anim->stop();
        return;
    }
    WebRequest request;
    request.url
        = QUrl(QStringLiteral("%1/%2/tavelmarkupdate.xml").arg(base.toString(), platformName()));
    request.followSameOrigin = true;
    request.stallTimeoutMs = TransferTimeout;
    WebEvents events;
    events.progress = [this](qint64 received, qint64) {
        if (received > MaxDescriptionSize && !descriptionTooLarge) {
            descriptionTooLarge = true;
            description->abort();
        }
    };
    events.finished = [this] { slot_XmlNetworkReplyFinished(); };
    description = web->get(request, events);
    deadline->start(limits.descriptionDeadlineMs);
}

void UpdateDlg::deadlinePassed()
{
    if (description) {
        descriptionLate = true;
        description->abort();
    } else if (reply) {
        packageLate = true;
        reply->abort();
    }
}

// The transfer may be the one reporting: it goes once the report is over.
void UpdateDlg::retire(std::unique_ptr<WebTransfer> &transfer)
{
    std::shared_ptr<WebTransfer> done(std::move(transfer));
    QTimer::singleShot(0, this, [done] {});
}

void UpdateDlg::slot_XmlNetworkReplyFinished()
{
    deadline->stop();
    const int code = description->httpStatus();
    if (descriptionTooLarge) {
        showFailure(QStringLiteral("Error code:%1The update description is too large!%2"));
    } else if (descriptionLate) {
        showFailure(QStringLiteral("Error code:%1The update server did not answer in time!%2"));
    } else if (description->redirectRefused()) {
        showFailure(QStringLiteral(
            "Error code:%1The update server sent the request to another address; it was not "
            "followed!%2"));
    } else if (description->errorCode() != 0 || code != 200) {
        // The server's status when it answered, else the network's reason.
        showFailure(QStringLiteral("Error code:%1Network disconnection!%2"),
                    code > 0 ? code : description->errorCode());
    } else {
        const UpdateDescription release = UpdateDescription::parse(description->readAll());
        switch (release.problem) {
        case UpdateDescription::Damaged:
            showFailure(QStringLiteral("Error code:%1The update description is damaged!%2"));
            break;
        case UpdateDescription::NoVersion:
            showFailure(QStringLiteral("Error code:%1Get null version from web!%2"));
            break;
        case UpdateDescription::BadVersion:
            showFailure(QStringLiteral("Error code:%1Get invalid version from web!%2"));
            break;
        case UpdateDescription::BadFileName:
            showFailure(QStringLiteral("Error code:%1Get invalid file name from web!%2"));
            break;
        case UpdateDescription::BadChecksum:
            showFailure(QStringLiteral("Error code:%1Get invalid checksum from web!%2"));
            break;
        case UpdateDescription::None:
            setNotes(release.notes);
            integrity.expect(release.sha256);
            showRelease(release.version, release.fileName);
            break;
        }
    }
    retire(description);
    anim->stop();
    Lang::release();
}

// The reason's text opens with an error-code line, which is left out when
// there is no code to show.
void UpdateDlg::showFailure(const QString &strReason, int iCode)
{
    setStatus("Check for available updates failed.");
    QString reason = Lang::tr("Update", strReason);
    const qsizetype codeAt = reason.indexOf(QLatin1String("%1"));
    if (iCode == 0 && codeAt >= 0)
        reason.remove(0, codeAt);
    reason.replace(QLatin1String("%1"),
                   iCode == 0 ? QString() : QStringLiteral(" %1\n").arg(iCode));
    setNotes(reason.replace(QLatin1String("%2"), QStringLiteral("\n")));
}

void UpdateDlg::showRelease(const QString &strVersion, const QString &strFileName)
{
    const int own = UpdateDescription::versionCode(QCoreApplication::applicationVersion());
    if (UpdateDescription::versionCode(strVersion) <= own) {
        setStatus("No new version available.");
        setNotes(
            text("There is no new version available at this time!%1").arg(QStringLiteral("\n")));
        return;
    }
    setStatus("A new version(%1) is available.", strVersion);
    if (strFileName.isEmpty()) {
        action = OpenWebPage;
        downloadBtn->setText(text("Web"));
    } else {
        action = Download;
        installerUrl
            = QUrl(QStringLiteral("%1/%2/%3").arg(base.toString(), platformName(), strFileName));
        localName = isWindows() ? QStringLiteral("TavelmarkUpdate.exe") : strFileName;
    }
    downloadBtn->setEnabled(true);
}

void UpdateDlg::setStatus(const QString &strEnglish, const QString &strArg)
{
    QString line = Lang::tr("Update", strEnglish);
    if (!strArg.isNull())
        line = line.arg(strArg);
    status->setText(line);
}

void UpdateDlg::setNotes(const QString &strText)
{
    notes->clear();
    notes->setPlainText(strText);
}

void UpdateDlg::slot_DownloadFile()
{
    switch (action) {
    case OpenWebPage:
        QDesktopServices::openUrl(QUrl(base.toString() + QStringLiteral("/")));
        close();
        break;
    case Download:
        startFileDownload();
        break;
    case Apply:
        accept();
        break;
    default:
        break;
    }
}

void UpdateDlg::startFileDownload()
{
    if (refuseInsecure(installerUrl) || !openFile())
        return;
    if (!progress) {
        progress = new QProgressDialog(this);
        progress->setWindowTitle(text("Download"));
        progress->setLabelText(text("Downloading updates..."));
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        connect(progress, &QProgressDialog::canceled, this, &UpdateDlg::slot_CancelDownload);
    }
    progress->setValue(0);
    progress->show();
    Lang::release();
    downloadBtn->setEnabled(false);
    aborted = false;
    startDownload(installerUrl);
}

// A package over plain http could have been changed on its way: it is only
// fetched when the description's checksum can prove it whole.
bool UpdateDlg::refuseInsecure(const QUrl &url)
{
    if (!integrity.refuses(url))
        return false;
    setStatus("Download failed: %1.",
              text("the package would come over plain http without a SHA-256 checksum"));
    Lang::release();
    downloadBtn->setEnabled(false);
    return true;
}

// The package is written beside its final name and only takes that name once
// it is complete, so an old package stays whole until a new one replaces it.
bool UpdateDlg::openFile()
{
    QDir().mkpath(QFileInfo(installerPath()).absolutePath());
    file = std::make_unique<QSaveFile>(installerPath());
    writeFailed = false;
    received = 0;
    integrity.restart();
    if (file->open(QIODevice::WriteOnly))
        return true;
    setStatus("Unable to save the file %1: %2.", localName);
    status->setText(status->text().arg(file->errorString()));
    file.reset();
    Lang::release();
    return false;
}

void UpdateDlg::discardFile()
{
    if (file)
        file->cancelWriting();
    file.reset();
}

void UpdateDlg::startDownload(const QUrl &url)
{
    WebRequest request;
    request.url = url;
    request.stallTimeoutMs = TransferTimeout;
    request.readBufferBytes = ReadBufferBytes;
    WebEvents events;
    events.headers = [this] {
        if (reply->announcedLength() > limits.maxPackageBytes) {
            packageTooLarge = true;
            reply->abort();
        }
    };
    events.readyRead = [this] { slot_HttpReadyRead(); };
    events.progress
        = [this](qint64 received, qint64 total) { slot_UpdateDataReadProgress(received, total); };
    events.finished = [this] { slot_HttpFinished(); };
    packageLate = false;
    packageTooLarge = false;
    reply = web->get(request, events);
    deadline->start(limits.packageDeadlineMs);
}

void UpdateDlg::slot_HttpReadyRead()
{
    if (!file || !reply || writeFailed || packageTooLarge)
        return;
    const QByteArray data = reply->readAll();
    if (received + data.size() > limits.maxPackageBytes) {
        packageTooLarge = true;
        reply->abort();
        return;
    }
    // A short write (a full disk) must not pass for a complete file.
    if (file->write(data) != data.size()) {
        writeFailed = true;
        reply->abort();
        return;
    }
    integrity.addData(data);
    received += data.size();
    // The network's own progress signal is throttled and may never come for
    // a quick download.
    slot_UpdateDataReadProgress(received, reply->announcedLength());
}

void UpdateDlg::slot_UpdateDataReadProgress(qint64 bytesRead, qint64 totalBytes)
{
    if (aborted || !progress)
        return;
    progress->setMaximum(totalBytes > 0 ? int(qMin<qint64>(totalBytes / 1024, INT_MAX)) : 0);
    progress->setValue(totalBytes > 0 ? int(qMin<qint64>(bytesRead / 1024, INT_MAX)) : 0);
}

void UpdateDlg::slot_CancelDownload()
{
    setStatus("Download canceled.");
    Lang::release();
    downloadBtn->setEnabled(true);
    aborted = true;
    if (reply)
        reply->abort();
}

void UpdateDlg::slot_HttpFinished()
{
    deadline->stop();
    if (progress)
        progress->hide();
    if (aborted) {
        discardFile();
    } else if (file) {
        slot_HttpReadyRead();
        if (!finishFile())
            return;
    }
    if (reply)
        retire(reply);
    Lang::release();
}

// Why the transfer itself failed, or an empty text.
QString UpdateDlg::transferProblem() const
{
    if (packageTooLarge)
        return text("the package is larger than %1 MB")
            .arg(limits.maxPackageBytes / (qint64(1024) * 1024));
    if (packageLate)
        return text("the server did not send it in time");
    if (reply->errorCode() != 0)
        return reply->errorString();
    return QString();
}

// Why the received package cannot be used, or an empty text.
QString UpdateDlg::packageProblem() const
{
    const qint64 announced = reply->announcedLength();
    if (reply->httpStatus() != 200 || (announced > 0 && received != announced))
        return text("incomplete file");
    if (!integrity.matches())
        return text("the package does not match its SHA-256 checksum");
    return QString();
}

// Ends the download in `file`; false when a redirect started another one.
bool UpdateDlg::finishFile()
{
    const QUrl target = reply->redirectTarget();
    const QString transfer = writeFailed ? QString() : transferProblem();
    if (!writeFailed && transfer.isEmpty() && target.isValid())
        return !followRedirect(installerUrl.resolved(target));
    const QString problem = writeFailed || !transfer.isEmpty() ? transfer : packageProblem();
    if (!writeFailed && problem.isEmpty() && file->commit()) {
        file.reset();
        downloaded = installerPath();
        setStatus("Download finish.");
        downloadBtn->setText(text("Apply"));
        downloadBtn->setEnabled(true);
        setNotes(text("Press [Apply] button to apply update."));
        action = Apply;
        return true;
    }
    if (problem.isEmpty()) {
        setStatus("Unable to save the file %1: %2.", localName);
        status->setText(status->text().arg(file->errorString()));
    } else {
        setStatus("Download failed: %1.", problem);
    }
    discardFile();
    downloadBtn->setEnabled(true);
    return true;
}

// True when another download started at `resolved`.
bool UpdateDlg::followRedirect(const QUrl &resolved)
{
    discardFile();
    if (refuseInsecure(resolved) || !askRedirect(resolved))
        return false;
    installerUrl = resolved;
    retire(reply);
    if (openFile())
        startDownload(installerUrl);
    else
        downloadBtn->setEnabled(true);
    return true;
}

// Only web addresses are followed, and only when the user agrees.
bool UpdateDlg::askRedirect(const QUrl &target)
{
    const QString scheme = target.scheme();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        setStatus("Download failed: %1.", target.toString());
        downloadBtn->setEnabled(true);
        return false;
    }
    MessageBoxDialog question(this, text("Update"), text("Redirect to %1 ?").arg(target.toString()),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    question.button(QMessageBox::Yes)->setText(Lang::tr("MessageBox", QStringLiteral("Yes")));
    question.button(QMessageBox::No)->setText(Lang::tr("MessageBox", QStringLiteral("No")));
    Lang::release();
    if (question.exec() == QMessageBox::Yes)
        return true;
    setStatus("The download was stopped: it was sent on to %1.", target.toString());
    Lang::release();
    downloadBtn->setEnabled(true);
    return false;
}

void UpdateDlg::slot_ClickDetail(bool show)
{
    column->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(0, 0);
    if (show) {
        savedWidth = width();
        savedHeight = height();
        notes->show();
    } else {
        notes->hide();
        resize(savedWidth, savedHeight);
    }
    column->setSizeConstraint(QLayout::SetDefaultConstraint);
}

void UpdateDlg::reject()
{
    // Leaving while a download runs ends it and leaves no partial file.
    if (reply) {
        aborted = true;
        reply->abort();
    }
    MainDialog::reject();
}
