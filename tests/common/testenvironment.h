#pragma once

#include "app/appstate.h"
#include "document/backgroundfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

// Gives a test its own data and runtime folders, and a fresh settings state,
// so that nothing touches the user's files or another test's.
class TestEnvironment
{
public:
    TestEnvironment()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Quillbury"));
        QCoreApplication::setApplicationName(QStringLiteral("Tavelmark"));
        qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", root.filePath(QStringLiteral("run")).toLocal8Bit());
        QDir(root.path()).mkpath(QStringLiteral("run"));
        QFile::setPermissions(root.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        AppState::reset();
    }
    // Page pictures still being written must not outlive their folder.
    ~TestEnvironment() { BackgroundFiles::instance().finish(); }

    QString dataHome() const { return root.filePath(QStringLiteral("data")); }
    QString dataFolder() const { return dataHome() + QStringLiteral("/Quillbury/Tavelmark"); }
    QString path(const QString &strName) const { return root.filePath(strName); }

private:
    QTemporaryDir root;
};

inline bool writeFile(const QString &strPath, const QByteArray &bytes)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
