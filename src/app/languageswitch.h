#pragma once

#include <QObject>

// The program's language, changed while it runs: the choice goes into the
// settings state, the toolkit's own texts follow, and every window that shows
// texts hears changed() and re-texts itself. Dialogs change the language
// here without knowing the windows above them.
class LanguageSwitch : public QObject
{
    Q_OBJECT
public:
    static LanguageSwitch &instance();

    // strDisplayName as the language list shows it; false when unknown.
    bool choose(const QString &strDisplayName);

Q_SIGNALS:
    void changed();
};
