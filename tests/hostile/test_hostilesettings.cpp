#include "app/appstate.h"
#include "app/inicodec.h"
#include "app/settingentry.h"
#include "app/settingsstore.h"
#include "testenvironment.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QSettings>
#include <QtTest>

#include <functional>
#include <memory>
#include <utility>

#include <sys/mount.h>

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

// The file with the value of a random key (of a number, when asked) made
// into another.
QByteArray withValue(const QByteArray &file, QRandomGenerator &r,
                     const std::function<QByteArray(QByteArray)> &change, bool numbersOnly = false)
{
    QList<QByteArray> lines = file.split('\n');
    QList<int> candidates;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray value = lines[i].mid(lines[i].indexOf('=') + 1);
        bool number = false;
        value.toInt(&number);
        if (lines[i].contains('=') && (number || !numbersOnly))
            candidates.append(i);
    }
    QByteArray &line = lines[candidates.at(r.bounded(int(candidates.size())))];
    const qsizetype equals = line.indexOf('=');
    line = line.left(equals + 1) + change(line.mid(equals + 1));
    return lines.join('\n');
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
        // Damage that still reads as well-formed values.
        { "100 KB of text for a value",
          [](QByteArray b, QRandomGenerator &r) {
              return withValue(b, r, [&r](const QByteArray &) {
                  QByteArray text(100 * 1024, 'a');
                  for (char &c : text)
                      c = char('a' + r.bounded(26));
                  return text;
              });
          } },
        { "commas in a value",
          [](QByteArray b, QRandomGenerator &r) {
              return withValue(b, r, [&r](QByteArray value) {
                  return value.insert(r.bounded(int(value.size()) + 1), QByteArray(40, ','));
              });
          } },
        { "number out of range",
          [](QByteArray b, QRandomGenerator &r) {
              return withValue(
                  b, r, [&r](const QByteArray &) { return r.bounded(2) ? "99999" : "-99999"; },
                  true);
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

    bool mounted = false;

    // A file system of its own over the data folder; false where mounting
    // is refused.
    bool mountData(const char *options, unsigned long flags)
    {
        QDir().mkpath(env->dataFolder());
        const QByteArray folder = QFile::encodeName(env->dataFolder());
        mounted = ::mount("tmpfs", folder.constData(), "tmpfs", flags, options) == 0;
        return mounted;
    }

    void unmountData()
    {
        if (std::exchange(mounted, false))
            ::umount2(QFile::encodeName(env->dataFolder()).constData(), MNT_DETACH);
    }

    // The start told, once, that the settings file cannot be written.
    bool toldUnwritable() const
    {
        const AppState &s = AppState::instance();
        int told = 0;
        for (const QStringList &notice : s.startNotices)
            told += notice.value(0).contains(QStringLiteral("cannot be saved"))
                    && notice.value(1) == QDir::toNativeSeparators(ini())
                ? 1
                : 0;
        return told == 1 && s.unsavedSettingsTold;
    }

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
    void cleanup()
    {
        unmountData();
        env.reset();
    }

    // 200 damaged files, each started twice with a quit save between: no
    // damaged or repaired value may reach the backup, none may be lost.
    // Values that still read (free text of any length, a number out of
    // range) used to be clamped, saved and made the backup at the next start.
    void damagedFilesNeverReplaceTheBackup()
    {
        const QStringList sound = makeSoundFile();
        QVERIFY(!sound.isEmpty());
        const QByteArray clean = readFile(ini());
        QCOMPARE(readFile(bak()), clean);
        QRandomGenerator random(11);
        const auto kinds = damages();
        QList<int> tried(kinds.size()), passed(kinds.size());
        for (int file = 0; file < 200; ++file) {
            const int kind = file % int(kinds.size());
            QVERIFY(writeFile(ini(), kinds[kind].second(clean, random)));
            restart();
            // The backup stays; what the file lost or got wrong came from it.
            bool kept = readFile(bak()) == clean && allValues() == sound;
            // A quit save writes a clean file (keeping any unknown key),
            // which the next start backs up.
            kept = SettingsStore::save() && kept;
            restart();
            kept = kept && valuesIn(bak()) == sound && allValues() == sound;
            ++tried[kind];
            passed[kind] += kept ? 1 : 0;
            QVERIFY(writeFile(bak(), clean));
        }
        int failed = 0;
        for (int kind = 0; kind < kinds.size(); ++kind) {
            qInfo("%-28s tried %3d, backup and values kept %3d", kinds[kind].first, tried[kind],
                  passed[kind]);
            failed += tried[kind] - passed[kind];
        }
        QCOMPARE(failed, 0);
    }

    // Free text is bounded: a language is one the program has, a font family
    // a name. Without a backup, a value out of bounds reads as the default.
    void freeTextIsBounded()
    {
        restart();
        const QByteArray page(100 * 1024, 'x');
        const QList<QPair<QByteArray, bool>> languages = { { "zh_TW", true },
                                                           { "ZH_tw", true },
                                                           { "xx_XX", false },
                                                           { page, false },
                                                           { "../../etc/passwd", false },
                                                           { "en_GB,en_GB", false } };
        const SettingEntry *language = nullptr;
        const SettingEntry *family = nullptr;
        for (const SettingEntry &entry : SettingEntry::table()) {
            if (entry.key == QLatin1String("Language"))
                language = &entry;
            if (entry.key == QLatin1String("TextFontFamily"))
                family = &entry;
        }
        QVERIFY(language && family);
        for (const auto &[text, known] : languages) {
            AppState state = AppState::defaults();
            language->read(state, QString::fromLatin1(text));
            QCOMPARE(state.language, known ? QStringLiteral("zh_TW") : QStringLiteral("en_GB"));
        }
        const QList<QPair<QString, bool>> families = {
            { QStringLiteral("Liberation Serif, Bold"), true },
            { QStringLiteral("Noto Sans CJK SC"), true },
            { QString(QLatin1String(page)), false },
            { QString(40, QLatin1Char(',')), false },
            { QStringLiteral("Sans,,Serif"), false },
            { QStringLiteral("Sans\x01"), false },
        };
        for (const auto &[text, name] : families) {
            QCOMPARE(family->accepts(text), name);
            AppState state = AppState::defaults();
            family->read(state, text);
            QCOMPARE(state.draw.textFontFamily, name ? text : QStringLiteral("Arial"));
        }
        QByteArray file = "[Draw]\nTextFontFamily=" + page + "\n[UserInterface]\nLanguage=fr_FR\n";
        QVERIFY(writeFile(ini(), file));
        QFile::remove(bak());
        restart();
        QCOMPARE(AppState::instance().draw.textFontFamily, QStringLiteral("Arial"));
        QCOMPARE(AppState::instance().language, QStringLiteral("en_GB"));
        QVERIFY(!QFile::exists(bak()));
    }

    // Settings that cannot be written were only logged at quit. A folder in
    // the file's place or a read-only folder is told at the start, with
    // where; a disk that fills later fails the quit save and keeps the file.
    void unwritableSettingsAreTold()
    {
        QVERIFY(QDir().mkpath(ini()));
        restart();
        QVERIFY(toldUnwritable());
        QVERIFY(!SettingsStore::save());
        QVERIFY(QDir(ini()).removeRecursively());

        if (!mountData("mode=0700", MS_RDONLY))
            QSKIP("Read-only and full folders need a mount, which is refused here.");
        restart();
        QVERIFY(toldUnwritable());
        QVERIFY(!SettingsStore::save());
        unmountData();

        QVERIFY(mountData("size=64k", 0));
        restart();
        QVERIFY(!toldUnwritable());
        AppState::instance().draw.penWidth = 7;
        QVERIFY(SettingsStore::save());
        const QByteArray written = readFile(ini());
        QFile filler(env->dataFolder() + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'f')) > 0) { }
        AppState::instance().draw.penWidth = 9;
        QVERIFY(!SettingsStore::save());
        QCOMPARE(readFile(ini()), written);
        unmountData();
    }

    // A picture stored as a value is never taken: it counts as damage and
    // the backup's value is used.
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
        restart();
        QCOMPARE(AppState::instance().draw.penColor, QColor(0x12, 0x34, 0x56)); // the backup's
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
        restart();
        QCOMPARE(AppState::instance().startNotices.size(), 1);
        QVERIFY(
            AppState::instance().startNotices[0].value(0).contains(QStringLiteral("was not read")));
        QCOMPARE(allValues(), sound);
        QCOMPARE(readFile(bak()), clean);
        QVERIFY(SettingsStore::save());
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

QTEST_GUILESS_MAIN(TestHostileSettings)
#include "test_hostilesettings.moc"
