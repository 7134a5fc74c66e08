#include "app/appstate.h"
#include "app/inicodec.h"
#include "app/settingentry.h"
#include "app/settingsstore.h"
#include "testenvironment.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>
#include <QSettings>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Every value the table holds, as the file stores it.
QStringList allValues()
{
    QStringList values;
    for (const SettingEntry &entry : SettingEntry::table())
        values.append(entry.key + QLatin1Char('=') + entry.write(AppState::instance()));
    return values;
}

// The table's values as a settings file holds them.
QStringList valuesIn(const QString &strPath)
{
    const IniCodec::Result file = IniCodec::parse(readFile(strPath));
    QStringList values;
    for (const SettingEntry &entry : SettingEntry::table()) {
        // Keys only the preferences write are not in the file: defaults.
        const QVariant value = file.values.value(entry.group + QLatin1Char('/') + entry.key,
                                                 entry.write(AppState::defaults()));
        values.append(entry.key + QLatin1Char('=') + value.toString());
    }
    return values;
}

using Damage = std::function<QByteArray(QByteArray, QRandomGenerator &)>;

// The kinds of damage seen in the field, each at a random place.
QList<QPair<const char *, Damage>> damages()
{
    return {
        { "flipped byte in a key name",
          [](QByteArray b, QRandomGenerator &r) {
              const QList<QByteArray> lines = b.split('\n');
              qsizetype at = 0;
              for (int i = 0, pick = 1 + r.bounded(int(lines.size()) - 2); i < pick; ++i)
                  at += lines[i].size() + 1;
              if (b[at] == '[')
                  at = b.indexOf('\n', at) + 1;
              b[at] = char(b[at] ^ 0x20);
              return b;
          } },
        { "unbalanced quote",
          [](QByteArray b, QRandomGenerator &r) {
              const qsizetype at = b.indexOf('=', r.bounded(int(b.size()) / 2)) + 1;
              return b.insert(at, '"');
          } },
        { "truncation",
          [](QByteArray b, QRandomGenerator &r) {
              return b.left(r.bounded(int(b.size()) / 4, int(b.size()) * 3 / 4));
          } },
        { "binary garbage",
          [](QByteArray b, QRandomGenerator &r) {
              const int at = r.bounded(int(b.size()) / 2);
              for (int i = 0; i < 64; ++i)
                  b[at + i] = char(r.bounded(256));
              return b;
          } },
    };
}

} // namespace

// Damaged and hostile settings files: no value is ever lost for good, no
// picture is decoded, and no file is too large to start quickly.
class TestHostileSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    QString ini() const { return env->dataFolder() + QStringLiteral("/Setting.ini"); }
    QString bak() const { return ini() + QStringLiteral(".bak"); }

    void restart()
    {
        AppState::reset();
        SettingsStore::locate();
        SettingsStore::load(96);
    }

    // A complete file with values away from the defaults, made the backup.
    QStringList makeSoundFile()
    {
        restart();
        AppState &s = AppState::instance();
        s.captureDelay = 1234;
        s.draw.penWidth = 17;
        s.draw.penColor = QColor(0x12, 0x34, 0x56);
        s.draw.textFontFamily = QStringLiteral("Liberation Serif, Bold");
        s.ruler.dpi = 144;
        s.rgb[3] = QColor(0x0a, 0x0b, 0x0c);
        s.hotKeys[1] = HotKeyRecord::fromString(QStringLiteral("1,1,0,1,0,72"));
        const QStringList values = allValues();
        if (!SettingsStore::save())
            return {};
        restart();
        return values;
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void damagedFilesNeverReplaceTheBackup()
    {
        const QStringList sound = makeSoundFile();
        QVERIFY(!sound.isEmpty());
        const QByteArray clean = readFile(ini());
        QCOMPARE(readFile(bak()), clean);
        QRandomGenerator random(11);
        for (const auto &[name, damage] : damages()) {
            for (int round = 0; round < 10; ++round) {
                QVERIFY(writeFile(ini(), damage(clean, random)));
                restart();
                QVERIFY2(readFile(bak()) == clean, name);
                // Missing values came from the backup; whatever the file
                // still held was read.
                QCOMPARE(allValues(), sound);
                // A quit save writes a clean file (keeping any unknown key),
                // which the next start backs up.
                QVERIFY(SettingsStore::save());
                restart();
                QCOMPARE(valuesIn(bak()), sound);
                QCOMPARE(allValues(), sound);
                QVERIFY(writeFile(bak(), clean));
            }
        }
    }

    // A picture stored as a value is never decoded: the start stays quick and
    // the value counts as damage.
    void variantPicturesAreNeverDecoded()
    {
        const QStringList sound = makeSoundFile();
        const QString plant = env->path(QStringLiteral("plant.ini"));
        {
            QImage picture(5000, 5000, QImage::Format_RGB32);
            picture.fill(Qt::darkRed);
            QSettings settings(plant, QSettings::IniFormat);
            settings.setValue(QStringLiteral("Draw/PenColor"), picture);
        }
        QByteArray planted = readFile(plant);
        QVERIFY(planted.contains("@Variant("));
        QVERIFY(planted.size() < IniCodec::MaxFileBytes);
        planted = readFile(ini()).replace("PenColor=#123456\n",
                                          planted.mid(planted.indexOf("PenColor=")));
        QVERIFY(writeFile(ini(), planted));
        QElapsedTimer timer;
        timer.start();
        restart();
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(AppState::instance().draw.penColor, QColor(Qt::black)); // the default
        QCOMPARE(readFile(bak()).contains("@Variant"), false);
        QCOMPARE(allValues().size(), sound.size());
    }

    // An oversized file is not read: the backup's values are used, the user
    // is told once, and the next save leaves a file of normal size.
    void oversizedFilesAreRefused()
    {
        const QStringList sound = makeSoundFile();
        const QByteArray clean = readFile(ini());
        QByteArray huge = "[Draw]\nPenWidth=30\n";
        while (huge.size() <= 8 * 1024 * 1024)
            huge += "; " + QByteArray(1000, 'x') + '\n';
        QVERIFY(writeFile(ini(), huge));
        QElapsedTimer timer;
        timer.start();
        restart();
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(AppState::instance().startNotices.size(), 1);
        QVERIFY(
            AppState::instance().startNotices[0].value(0).contains(QStringLiteral("was not read")));
        QCOMPARE(allValues(), sound);
        QCOMPARE(readFile(bak()), clean);
        timer.restart();
        QVERIFY(SettingsStore::save());
        QVERIFY(timer.elapsed() < 1000);
        QVERIFY(QFileInfo(ini()).size() < IniCodec::MaxFileBytes);
        restart();
        QVERIFY(AppState::instance().startNotices.isEmpty());
        QCOMPARE(allValues(), sound);
    }

    // Files written here read the same through QSettings' own INI format,
    // and QSettings' files read the same here.
    void theFileFormatStaysCompatible()
    {
        QSettings::SettingsMap values;
        values.insert(QStringLiteral("UserInterface/Language"), QStringLiteral("en_GB"));
        values.insert(QStringLiteral("UserInterface/Rgb"), QStringLiteral("#000000,#ffffff"));
        values.insert(QStringLiteral("Draw/TextFontFamily"), QStringLiteral(" Sans; \"odd\" \\ "));
        values.insert(QStringLiteral("Draw/Text"),
                      QStringLiteral("@at\t\x01"
                                     "7 ünï €"));
        values.insert(QStringLiteral("Draw/Empty"), QStringLiteral(""));
        values.insert(QStringLiteral("General/Key"), QStringLiteral("general"));
        const QString path = env->path(QStringLiteral("compat.ini"));
        QVERIFY(writeFile(path, IniCodec::serialize(values)));
        {
            QSettings theirs(path, QSettings::IniFormat);
            for (auto it = values.cbegin(); it != values.cend(); ++it)
                QCOMPARE(theirs.value(it.key()).toString(), it.value().toString());
        }
        const IniCodec::Result ours = IniCodec::parse(readFile(path));
        QVERIFY(!ours.damaged);
        QCOMPARE(ours.values, values);

        const QString written = env->path(QStringLiteral("theirs.ini"));
        {
            QSettings theirs(written, QSettings::IniFormat);
            for (auto it = values.cbegin(); it != values.cend(); ++it)
                theirs.setValue(it.key(), it.value());
        }
        const IniCodec::Result read = IniCodec::parse(readFile(written));
        QVERIFY(!read.damaged);
        QCOMPARE(read.values, values);
    }
};

QTEST_MAIN(TestHostileSettings)
#include "test_hostilesettings.moc"
