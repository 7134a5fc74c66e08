#include "exportdlg.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "documentcommands.h"
#include "documentfiles.h"
#include "exportbtn.h"
#include "widgets/filedialogguard.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int PdfFormat = 4;

struct FormatText
{
    const char *title;
    const char *detail;
};

constexpr FormatText formatTexts[] = {
    { "Image save as bitmap format.", " (*.BMP)" }, { "Image save as jpg format.", " (*.JPG)" },
    { "Image save as png format.", " (*.PNG)" },    { "Save drawing only.", " (*.PNG)" },
    { "Image save as pdf format.", " (*.PDF)" },
};

} // namespace

ExportDlg::ExportDlg(DocumentCommands *pCommands, DocumentFiles *pFiles, QWidget *pParent,
                     std::function<void(bool)> whenDone)
    : MainDialog(pParent)
    , commands(pCommands)
    , files(pFiles)
    , group(new QButtonGroup(this))
    , done(whenDone ? std::move(whenDone) : [](bool) {})
{
    Lang *lang = Lang::instance();
    const QString context = QStringLiteral("Export");
    auto tr = [&](const char *text) { return lang->translate(context, QLatin1String(text)); };
    setWindowTitle(tr("Save"));
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(
        QStringLiteral("<b>%1</b>").arg(tr("Which image format you want to save as?")), this);
    layout->addWidget(heading);
    // Only the document keeps the pages editable: it comes first.
    auto *document = new ExportBtn(DocumentFormat, tr("Tavelmark document"),
                                   QStringLiteral(" (*.tavelmark)"), this);
    group->addButton(document, DocumentFormat);
    layout->addWidget(document);
    for (int i = 0; i <= PdfFormat; ++i) {
        auto *button = new ExportBtn(i, tr(formatTexts[i].title), tr(formatTexts[i].detail), this);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    auto *cancel = new QPushButton(tr("Cancel"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    Lang::release();
    connect(group, &QButtonGroup::idClicked, this, &ExportDlg::slot_ExportAs);
    setFixedSize(sizeHint());
}

void ExportDlg::slot_ExportAs(int iFormat)
{
    hide();
    if (iFormat == DocumentFormat) {
        files->saveDocumentAs(done);
        accept();
        return;
    }
    const bool pdf = iFormat == PdfFormat;
    const QString suffix = pdf ? QStringLiteral(".pdf") : QStringLiteral(".zip");
    QString filter
        = Lang::tr("MessageBox",
                   pdf ? QStringLiteral("PDF Files (*.pdf)") : QStringLiteral("Zip Files (*.zip)"));
    const QString title = Lang::tr("Export", QStringLiteral("Save"));
    Lang::release();
    const QString proposed
        = QStringLiteral("%1/Tavelmark_%2")
              .arg(AppState::instance().homePath,
                   QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmm")));
    QString name = FileDialogGuard::around(
        [&] { return commands->askSaveFileName(title, proposed, filter, &filter); });
    if (name.isEmpty()) {
        done(false);
    } else {
        if (!name.endsWith(suffix, Qt::CaseInsensitive))
            name += suffix;
        exportFormat(iFormat, name);
    }
    accept();
}

void ExportDlg::exportFormat(int iFormat, const QString &strFile)
{
    switch (iFormat) {
    case 0:
        return commands->ExportToImage(strFile, QStringLiteral("bmp"), false, done);
    case 1:
        return commands->ExportToImage(strFile, QStringLiteral("jpg"), false, done);
    case 2:
        return commands->ExportToImage(strFile, QStringLiteral("png"), false, done);
    case 3:
        return commands->ExportToImage(strFile, QStringLiteral("png"), true, done);
    default:
        return commands->ExportToPdf(strFile, done);
    }
}
