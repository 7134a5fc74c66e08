#pragma once

#include "instancerequest.h"

#include <QString>
#include <QStringList>

// The program's arguments, read before anything else happens: help and
// version are answered without a window or the single-instance lock; files and
// actions become the request for the running (or starting) instance.
class CommandLine
{
public:
    enum class Outcome { Run, Help, Version, Error };
    // Exit status of a start refused for its arguments.
    static constexpr int UsageError = 2;

    // The names --action accepts, in the order the help lists them.
    static const QStringList &actionNames();
    // arguments as main() got them (program name first); relative file names
    // are taken from strWorkingDir. Texts are in the current language.
    static CommandLine parse(const QStringList &arguments, const QString &strWorkingDir);

    Outcome outcome() const { return result; }
    // Help or version text for stdout, or the error for stderr.
    QString text() const { return message; }
    const InstanceRequest &request() const { return wanted; }

private:
    static QString helpText(const QString &strProgram);
    static CommandLine refused(const QString &strWhy);
    static QString fileRefusal(const QString &strFile);

    Outcome result = Outcome::Run;
    QString message;
    InstanceRequest wanted;
};
