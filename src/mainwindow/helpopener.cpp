#include "helpopener.h"

#include "app/helpguide.h"
#include "app/lang.h"
#include "widgets/messageboxdialog.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

void tell(QWidget *pParent, const char *strText, const char *strInformative, const QString &strPath)
{
    const QString informative
        = Lang::single("MessageBox", QLatin1String(strInformative)).arg(strPath);
    MessageBoxDialog box(pParent, QLatin1String(strText), informative, QMessageBox::Ok);
    box.exec();
}

} // namespace

bool HelpOpener::open(QWidget *pParent, const QString &strFolder, const QString &strLanguage)
{
    const QString guide = HelpGuide::find(strFolder, strLanguage);
    if (guide.isEmpty()) {
        tell(pParent, "The user guide was not found.",
             "It is looked for as %1. Reinstall Tavelmark or ask your administrator to set "
             "its folder.",
             HelpGuide::expectedPath(strFolder));
        return false;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(guide))) {
        tell(pParent, "The user guide could not be opened.",
             "No program is set up to show PDF files. The guide is %1.", guide);
        return false;
    }
    return true;
}
