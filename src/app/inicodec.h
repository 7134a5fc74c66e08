#pragma once

#include <QByteArray>
#include <QSettings>

class QIODevice;

// The text form of the settings file, read and written by the program itself.
// QSettings' own INI reader turns "@Variant(...)" values into objects (a
// picture stored there is decoded at start) and reports no error for most
// damage. Here every value stays a string, and damage is reported. Files
// written here read back the same through QSettings' INI format.
class IniCodec
{
public:
    // A settings file is a page of keys; a larger one is not read at all.
    static constexpr qint64 MaxFileBytes = qint64(256) * 1024;

    struct Result
    {
        QSettings::SettingsMap values; // "Group/Key" -> QString or QStringList
        bool damaged = false; // some line could not be read; it was skipped
        bool tooLarge = false; // not read
    };

    static Result parse(const QByteArray &text);
    static QByteArray serialize(const QSettings::SettingsMap &values);
    // A missing file reads as empty and sound.
    static Result readFile(const QString &strPath);

    // The QSettings format backed by this codec.
    static QSettings::Format format();

private:
    static bool readDevice(QIODevice &device, QSettings::SettingsMap &map);
    static bool writeDevice(QIODevice &device, const QSettings::SettingsMap &map);
};
