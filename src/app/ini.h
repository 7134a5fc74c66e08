#pragma once

#include <QObject>
#include <QSettings>

// The settings file, opened on demand for one batch of reads or writes and
// released afterwards so that the file is not held between uses.
class INI : public QObject
{
    Q_OBJECT
public:
    static INI *instance();
    static void release();

    QString value(const QString &strGroup, const QString &strKey, const QString &strDefault);
    bool setValue(const QString &strGroup, const QString &strKey, const QString &strValue);
    // A batch reads the file once and writes it once, when it ends.
    void beginBatch();
    bool endBatch();
    // Whether the last write reached the disk.
    bool writeFailed() const;

private:
    explicit INI(const QString &strPath);
    QSettings settings;
    bool failed = false;
    bool batch = false;
};
