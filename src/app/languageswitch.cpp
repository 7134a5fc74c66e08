#include "languageswitch.h"

#include "appstate.h"
#include "lang.h"
#include "qttranslations.h"

LanguageSwitch &LanguageSwitch::instance()
{
    static LanguageSwitch languageSwitch;
    return languageSwitch;
}

bool LanguageSwitch::choose(const QString &strDisplayName)
{
    const QString code = Lang::codeForDisplayName(strDisplayName);
    if (code.isEmpty())
        return false;
    AppState::instance().language = code;
    QtTranslations::apply(code);
    Q_EMIT changed();
    return true;
}
