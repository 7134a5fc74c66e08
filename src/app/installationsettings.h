#pragma once

#include <QString>
#include <QUrl>

// The addresses an administrator sets per installation, in the machine-wide
// configuration beside "Path": "UpdateServer" (the update server's base
// address) and "FeedbackAddress" (the page or mail address feedback goes to).
// An unset or unusable value gives the built-in address.
class InstallationSettings
{
public:
    static QUrl updateServer();
    static QUrl feedbackAddress();

    static QUrl defaultUpdateServer();
    static QUrl defaultFeedbackAddress();

    // An absolute http or https address (mailto too when bMailAllowed), or
    // fallback when strValue is empty or anything else.
    static QUrl address(const QString &strValue, const QUrl &fallback, bool bMailAllowed);
    // What Help > "Send feedback" opens: a web address as a folder ("%1/"),
    // a mail address as it is.
    static QUrl feedbackTarget(const QUrl &address);
};
