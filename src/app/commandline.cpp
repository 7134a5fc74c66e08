#include "commandline.h"

#include "lang.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Options the toolkit takes for itself: accepted so that they do not stop a start.
const QStringList ToolkitOptionsWithValue { QStringLiteral("platform"), QStringLiteral("display"),
                                            QStringLiteral("style"),
                                            QStringLiteral("platformtheme") };

QString translated(const char *strText)
{
    return Lang::tr("CommandLine", QLatin1String(strText));
}

void addToolkitOptions(QCommandLineParser &parser)
{
    for (const QString &name : ToolkitOptionsWithValue) {
        QCommandLineOption option(name);
        option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

const QStringList &CommandLine::actionNames()
{
    static const QStringList names {
        QStringLiteral("pen"),
        QStringLiteral("highlighter"),
        QStringLiteral("eraser"),
        QStringLiteral("line"),
        QStringLiteral("shape"),
        QStringLiteral("text"),
        QStringLiteral("select"),
        QStringLiteral("mouse"),
        QStringLiteral("new-page"),
        QStringLiteral("new-capture"),
        QStringLiteral("capture-region"),
        QStringLiteral("capture-freeform"),
        QStringLiteral("capture-window"),
        QStringLiteral("capture-previous"),
        QStringLiteral("colour-picker"),
        QStringLiteral("magnifier"),
        QStringLiteral("zoom"),
        QStringLiteral("focus-toolbar"),
        QStringLiteral("ruler"),
        QStringLiteral("protractor"),
        QStringLiteral("undo"),
        QStringLiteral("redo"),
        QStringLiteral("clear-page"),
        QStringLiteral("next-page"),
        QStringLiteral("previous-page"),
        QStringLiteral("back-to-last-page"),
        QStringLiteral("live-desktop"),
        QStringLiteral("laser-pointer"),
        QStringLiteral("spotlight"),
        QStringLiteral("fading-ink"),
        QStringLiteral("show"),
        QStringLiteral("hide"),
        QStringLiteral("quit"),
    };
    return names;
}

CommandLine CommandLine::parse(const QStringList &arguments, const QString &strWorkingDir)
{
    CommandLine line;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList { QStringLiteral("h"), QStringLiteral("help") });
    const QCommandLineOption version(
        QStringList { QStringLiteral("v"), QStringLiteral("version") });
    const QCommandLineOption action({ QStringLiteral("a"), QStringLiteral("action") }, QString(),
                                    QStringLiteral("name"));
    parser.addOptions({ help, version, action });
    addToolkitOptions(parser);
    const QString program = QFileInfo(arguments.value(0)).fileName();
    if (!parser.parse(arguments)) {
        line.result = Outcome::Error;
        line.message = parser.unknownOptionNames().isEmpty()
            ? translated("The action option needs the name of an action.")
            : translated("Unknown option: %1").arg(parser.unknownOptionNames().constFirst());
        line.message += QLatin1Char('\n') + translated("See %1 --help.").arg(program);
        return line;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        line.result = parser.isSet(help) ? Outcome::Help : Outcome::Version;
        line.message = parser.isSet(help)
            ? helpText(program)
            : QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                            QCoreApplication::applicationVersion());
        return line;
    }
    // All or nothing: a refused line sends nothing.
    InstanceRequest request;
    for (const QString &name : parser.values(action)) {
        if (!actionNames().contains(name)) {
            line.result = Outcome::Error;
            line.message = translated("Unknown action: %1").arg(name) + QLatin1Char('\n')
                + translated("Known actions: %1").arg(actionNames().join(QStringLiteral(", ")));
            return line;
        }
        request.actions.append(name);
    }
    for (const QString &file : parser.positionalArguments()) {
        const QString path = QDir(strWorkingDir).absoluteFilePath(file);
        if (!QFileInfo(path).isFile())
            return refused(fileRefusal(file));
        request.files.append(QDir::cleanPath(path));
    }
    // Started or running, a line does the same: one the running instance
    // would drop is refused here, whole.
    const qint64 bytes = request.encode().size();
    if (bytes > InstanceRequest::MaxFrameBytes)
        return refused(translated("The pictures and actions are too many for one start (%1 KB; "
                                  "at most %2 KB). Open fewer pictures at a time.")
                           .arg((bytes + 1023) / 1024)
                           .arg(InstanceRequest::MaxFrameBytes / 1024));
    line.wanted = request;
    return line;
}

CommandLine CommandLine::refused(const QString &strWhy)
{
    CommandLine line;
    line.result = Outcome::Error;
    line.message = strWhy;
    return line;
}

// A name the system gave as bytes that are not UTF-8 arrives with
// replacement characters: no file can be found under it.
QString CommandLine::fileRefusal(const QString &strFile)
{
    if (strFile.contains(QChar::ReplacementCharacter))
        return translated("The name %1 is not valid UTF-8, so Tavelmark cannot open the file. "
                          "Rename it and try again.")
            .arg(strFile);
    return translated("No such file: %1").arg(strFile);
}

QString CommandLine::helpText(const QString &strProgram)
{
    QStringList lines {
        translated("Usage: %1 [options] [pictures...]").arg(strProgram),
        translated(
            "Screen annotation and whiteboard. A running Tavelmark receives the pictures and "
            "actions; otherwise one starts and performs them."),
        QString(),
        translated("Options:"),
        QStringLiteral("  -h, --help           ") + translated("Shows this help."),
        QStringLiteral("  -v, --version        ") + translated("Shows the version."),
        QStringLiteral("  -a, --action <name>  ")
            + translated("Performs an action (may be repeated)."),
        QString(),
        translated("Actions:"),
    };
    QString row = QStringLiteral(" ");
    for (const QString &name : actionNames()) {
        if (row.size() + name.size() > 76) {
            lines.append(row);
            row = QStringLiteral(" ");
        }
        row += QLatin1Char(' ') + name;
    }
    lines.append(row);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
