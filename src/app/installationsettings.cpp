#include "installationsettings.h"

#include "platform/platform.h"

#include <QDebug>

namespace {

QUrl configured(const char *key, const QUrl &fallback, bool bMailAllowed)
{
    const QString value = Platform::installationSetting(QLatin1String(key));
    const QUrl url = InstallationSettings::address(value, QUrl(), bMailAllowed);
    if (!url.isEmpty())
        return url;
    if (!value.trimmed().isEmpty())
        qWarning().noquote() << "The installation's" << key << "is no usable address;"
                             << fallback.toString() << "is used instead.";
    return fallback;
}

} // namespace

QUrl InstallationSettings::updateServer()
{
    return configured("UpdateServer", defaultUpdateServer(), false);
}

QUrl InstallationSettings::feedbackAddress()
{
    return configured("FeedbackAddress", defaultFeedbackAddress(), true);
}

QUrl InstallationSettings::defaultUpdateServer()
{
    return QUrl(QStringLiteral("https://update.quillbury.com/tavelmark"));
}

QUrl InstallationSettings::defaultFeedbackAddress()
{
    return QUrl(QStringLiteral("https://quillbury.example/tavelmark"));
}

QUrl InstallationSettings::address(const QString &strValue, const QUrl &fallback, bool bMailAllowed)
{
    // Trailing slashes would double when the program appends its own paths.
    QString text = strValue.trimmed();
    while (text.endsWith(QLatin1Char('/')))
        text.chop(1);
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || text.isEmpty())
        return fallback;
    if (scheme == QLatin1String("mailto"))
        return bMailAllowed && !url.path().isEmpty() ? url : fallback;
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return fallback;
    if (url.host().isEmpty() || url.hasQuery() || url.hasFragment())
        return fallback;
    return url;
}

QUrl InstallationSettings::feedbackTarget(const QUrl &address)
{
    if (address.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0)
        return address;
    return QUrl(address.toString() + QStringLiteral("/"));
}
