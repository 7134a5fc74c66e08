#pragma once

#include <QObject>

// Carries refused screen grabs from the platform backend to whoever tells the
// user, so that no caller shows a black page without a word, and tells when
// a picture asked of the desktop ahead of a grab is in. Only backends emit.
class GrabNotices : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    // A grab gave nothing; strWhy is English, for the listener to translate.
    void signal_Refused(const QString &strWhy);
    // The picture asked for with Platform::fetchDesktop() is in, or refused:
    // grabs can be made now.
    void signal_Fetched();
    // While a picture is on its way the desktop shows a dialog of its own.
    void signal_AskingUser();
};
