#include "app/commandline.h"
#include "app/instancerequest.h"

#include <QTemporaryDir>
#include <QtTest>

// The arguments a desktop shortcut or a script passes, and the frame that
// carries them to the running instance.
class TestCommandLine : public QObject
{
    Q_OBJECT

    static CommandLine parse(const QStringList &arguments, const QString &strDir = QString())
    {
        return CommandLine::parse(QStringList { QStringLiteral("/usr/bin/tavelmark") } + arguments,
                                  strDir.isEmpty() ? QDir::currentPath() : strDir);
    }

    static QByteArray frame(quint8 version, const QByteArray &payload)
    {
        QByteArray bytes("TAVM");
        bytes.append(char(version));
        const quint32 n = quint32(payload.size());
        bytes.append(char(n >> 24)).append(char(n >> 16)).append(char(n >> 8)).append(char(n));
        return bytes + payload;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Tavelmark"));
        QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    }

    void helpAndVersionAnswerAtOnce()
    {
        const CommandLine line = parse({ QStringLiteral("-h") });
        QCOMPARE(line.outcome(), CommandLine::Outcome::Help);
        QVERIFY(line.text().contains(QStringLiteral("tavelmark [options]")));
        // Every action is listed for whoever binds a shortcut.
        for (const QString &name : CommandLine::actionNames())
            QVERIFY2(line.text().contains(name), qPrintable(name));
        const CommandLine version = parse({ QStringLiteral("--version") });
        QCOMPARE(version.outcome(), CommandLine::Outcome::Version);
        QCOMPARE(version.text(), QStringLiteral("Tavelmark 9.8.7\n"));
        // Help wins over anything else on the line, even an unknown action.
        QCOMPARE(parse({ QStringLiteral("--action"), QStringLiteral("fly"), QStringLiteral("-h") })
                     .outcome(),
                 CommandLine::Outcome::Help);
    }

    void actionsAndFilesBecomeTheRequest()
    {
        QTemporaryDir dir;
        QFile picture(dir.filePath(QStringLiteral("a b.png")));
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.close();
        const CommandLine line
            = parse({ QStringLiteral("--action"), QStringLiteral("capture-region"),
                      QStringLiteral("a b.png"), QStringLiteral("-a"), QStringLiteral("undo"),
                      QStringLiteral("--action=quit") },
                    dir.path());
        QCOMPARE(line.outcome(), CommandLine::Outcome::Run);
        QCOMPARE(line.request().actions,
                 QStringList({ QStringLiteral("capture-region"), QStringLiteral("undo"),
                               QStringLiteral("quit") }));
        // Relative names are the caller's: the running instance works elsewhere.
        QCOMPARE(line.request().files, QStringList { picture.fileName() });
        QVERIFY(parse({}).request().isEmpty());
        // The toolkit's own options do not stop a start.
        const CommandLine withToolkit = parse({ QStringLiteral("-platform"), QStringLiteral("xcb"),
                                                QStringLiteral("-a"), QStringLiteral("pen") });
        QCOMPARE(withToolkit.outcome(), CommandLine::Outcome::Run);
        QCOMPARE(withToolkit.request().actions, QStringList { QStringLiteral("pen") });
    }

    void badArgumentsAreRefusedWithAReason()
    {
        const CommandLine unknown = parse({ QStringLiteral("-a"), QStringLiteral("pen"),
                                            QStringLiteral("--action"), QStringLiteral("fly") });
        QCOMPARE(unknown.outcome(), CommandLine::Outcome::Error);
        QVERIFY(unknown.text().contains(QStringLiteral("Unknown action: fly")));
        QVERIFY(unknown.text().contains(QStringLiteral("capture-region")));
        QVERIFY(unknown.request().isEmpty());

        const CommandLine option = parse({ QStringLiteral("--fly") });
        QCOMPARE(option.outcome(), CommandLine::Outcome::Error);
        QVERIFY(option.text().contains(QStringLiteral("fly")));
        QCOMPARE(parse({ QStringLiteral("--action") }).outcome(), CommandLine::Outcome::Error);
        const CommandLine missing = parse({ QStringLiteral("/no/such/picture.png") });
        QCOMPARE(missing.outcome(), CommandLine::Outcome::Error);
        QVERIFY(missing.text().contains(QStringLiteral("/no/such/picture.png")));
        QCOMPARE(parse({ QDir::tempPath() }).outcome(), CommandLine::Outcome::Error);
    }

    // A line the running instance would drop (it once logged "too long"
    // while the start ended with 0) is refused by the start itself, at the
    // frame's limit to the byte.
    void linesBeyondOneFrameAreRefused()
    {
        const QString name = QStringLiteral("capture-previous");
        InstanceRequest fits;
        while (fits.encode().size() + name.size() + 3 <= InstanceRequest::MaxFrameBytes)
            fits.actions.append(name);
        QStringList arguments;
        for (const QString &action : std::as_const(fits.actions))
            arguments << QStringLiteral("-a") << action;
        const CommandLine largest = parse(arguments);
        QCOMPARE(largest.outcome(), CommandLine::Outcome::Run);
        QVERIFY(largest.request().encode().size() <= InstanceRequest::MaxFrameBytes);
        const CommandLine over = parse(arguments << QStringLiteral("-a") << name);
        QVERIFY(over.request().isEmpty());
        QCOMPARE(over.outcome(), CommandLine::Outcome::Error);
        QVERIFY2(over.text().contains(QStringLiteral("at most 64 KB")), qPrintable(over.text()));
    }

    // A name whose bytes are not UTF-8 reaches the program with replacement
    // characters: it says so instead of "No such file".
    void namesThatAreNotUtf8AreToldAsSuch()
    {
        const CommandLine line = parse({ QString::fromLocal8Bit("/tmp/caf\xe9.png") });
        QCOMPARE(line.outcome(), CommandLine::Outcome::Error);
        QVERIFY2(line.text().contains(QStringLiteral("not valid UTF-8")), qPrintable(line.text()));
    }

    void requestsSurviveTheirFrame()
    {
        InstanceRequest request;
        request.files = { QStringLiteral("/tmp/ü \"q\".png") };
        request.actions = { QStringLiteral("pen"), QStringLiteral("next-page") };
        const QByteArray bytes = request.encode();
        QCOMPARE(InstanceRequest::frameLength(bytes.left(3)), 0);
        QCOMPARE(InstanceRequest::frameLength(bytes.left(8)), 0);
        QCOMPARE(InstanceRequest::frameLength(bytes.left(9)), bytes.size());
        const auto back = InstanceRequest::decode(bytes);
        QVERIFY(back);
        QCOMPARE(back->files, request.files);
        QCOMPARE(back->actions, request.actions);
        // A frame cut short, or with bytes after it, is not one.
        QVERIFY(!InstanceRequest::decode(bytes.chopped(1)));
        QVERIFY(!InstanceRequest::decode(bytes + ' '));
    }

    // Garbage is known from its first byte; a known header with a bad
    // payload is refused whole.
    void garbageIsRefused()
    {
        QCOMPARE(InstanceRequest::frameLength("Quillbury Tavelmark"), -1);
        QCOMPARE(InstanceRequest::frameLength("X"), -1);
        QCOMPARE(InstanceRequest::frameLength(frame(2, "{}")), -1);
        QCOMPARE(InstanceRequest::frameLength(frame(0, "{}")), -1);
        QVERIFY(InstanceRequest::decode(frame(1, "{}")));
        for (const char *payload : { "", "[]", "{\"actions\": \"pen\"}", "{\"actions\": [1]}",
                                     "{\"files\": [\"\"]}", "{\"actions\": [\"pen\"]", "\xff\xfe" })
            QVERIFY2(!InstanceRequest::decode(frame(1, payload)), payload);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
