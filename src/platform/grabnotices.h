#pragma once

#include <QObject>

// Carries refused screen grabs from the platform backend to whoever tells the
// user, so that no caller shows a black page without a word. Only backends emit.
class GrabNotices : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    // A grab gave nothing; strWhy is English, for the listener to translate.
    void signal_Refused(const QString &strWhy);
};
