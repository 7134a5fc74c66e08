#pragma once

class QString;
class QWidget;

// Help > Help: shows the user guide with the desktop's PDF viewer, and says
// so when there is no guide or nothing to show it with.
class HelpOpener
{
public:
    // False when the guide could not be shown (the user has been told why).
    static bool open(QWidget *pParent, const QString &strFolder, const QString &strLanguage);
};
