#include <QDirIterator>
#include <QDomDocument>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

// The two Chinese tables against each other and against the source: the same
// keys in both, every key a text the code really writes, every message the
// code shows through a message box or a lookup helper present under the
// context it is looked up in, and translations that keep their placeholders.
class TestLangTables : public QObject
{
    Q_OBJECT

    using Table = QMap<QPair<QString, QString>, QString>;

    static QStringList contexts()
    {
        return { "MainWindow", "PopupWidget", "Tools",       "TextInput",
                 "Browser",    "Export",      "Preferences", "About",
                 "MessageBox", "Update",      "CommandLine", "Accessible" };
    }

    static QString sourceDir() { return QStringLiteral(TAV_TEST_DATA "/../../src"); }

    // (context, English) → translation; duplicates and damage fail the test.
    static Table readTable(const QString &strCode, QString *pVersion)
    {
        Table table;
        QFile file(QStringLiteral(":/Language/%1.xml").arg(strCode));
        QDomDocument document;
        if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file, true)) {
            qWarning() << strCode << "does not parse";
            return table;
        }
        const QDomElement root = document.documentElement();
        *pVersion = root.tagName() + QLatin1Char(' ') + root.attribute(QStringLiteral("version"));
        for (QDomElement context = root.firstChildElement(); !context.isNull();
             context = context.nextSiblingElement()) {
            for (QDomElement e = context.firstChildElement(); !e.isNull();
                 e = e.nextSiblingElement()) {
                const auto key = qMakePair(context.tagName(), e.attribute(QStringLiteral("name")));
                if (e.tagName() != QLatin1String("String") || table.contains(key))
                    table.insert(qMakePair(QStringLiteral("!bad"), key.second), QString());
                else
                    table.insert(key, e.text());
            }
        }
        return table;
    }

    static QStringList sourceFiles()
    {
        QStringList files;
        QDirIterator it(sourceDir(), { QStringLiteral("*.cpp"), QStringLiteral("*.h") },
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        files.sort();
        return files;
    }

    static QString readSource(const QString &strPath)
    {
        QFile file(strPath);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // The text of a C++ literal body: the escapes the sources use.
    static QString unescape(const QString &strBody)
    {
        QString text;
        for (int i = 0; i < strBody.size(); ++i) {
            if (strBody.at(i) != QLatin1Char('\\') || i + 1 == strBody.size()) {
                text += strBody.at(i);
                continue;
            }
            const QChar next = strBody.at(++i);
            text += next == QLatin1Char('n') ? QChar('\n') : next;
        }
        return text;
    }

    // Every string literal of a source, adjacent literals joined.
    static QSet<QString> literals(const QString &strSource)
    {
        static const QRegularExpression run(
            QStringLiteral("\"((?:[^\"\\\\\\n]|\\\\.)*)\"(?:\\s*\"((?:[^\"\\\\\\n]|\\\\.)*)\")*"));
        static const QRegularExpression piece(QStringLiteral("\"((?:[^\"\\\\\\n]|\\\\.)*)\""));
        QSet<QString> found;
        for (const auto &m : run.globalMatch(strSource)) {
            QString joined;
            for (const auto &p : piece.globalMatch(m.captured(0)))
                joined += unescape(p.captured(1));
            found.insert(joined);
        }
        return found;
    }

    // The literals given straight to a call (not to calls nested in it):
    // "…", QStringLiteral("…") or QLatin1String("…"), adjacent ones joined.
    static QStringList directLiterals(const QString &strArgs)
    {
        static const QRegularExpression wrapped(
            QStringLiteral("^\\s*(?:QStringLiteral|QLatin1String)?\\(?\\s*((?:\"(?:[^\"\\\\\\n]|"
                           "\\\\.)*\"\\s*)+)\\)?"));
        static const QRegularExpression piece(QStringLiteral("\"((?:[^\"\\\\\\n]|\\\\.)*)\""));
        QStringList texts;
        int depth = 0;
        QString top;
        // Keep only what lies outside nested calls, then split at commas and '?' ':'.
        for (int i = 0; i < strArgs.size(); ++i) {
            const QChar c = strArgs.at(i);
            if (c == QLatin1Char('"')) {
                // The whole run of adjacent literals, decided by its first.
                int j = i;
                do {
                    ++j;
                    while (j < strArgs.size() && strArgs.at(j) != QLatin1Char('"'))
                        j += strArgs.at(j) == QLatin1Char('\\') ? 2 : 1;
                    int next = j + 1;
                    while (next < strArgs.size() && strArgs.at(next).isSpace())
                        ++next;
                    if (next >= strArgs.size() || strArgs.at(next) != QLatin1Char('"'))
                        break;
                    j = next;
                } while (true);
                if (depth == 0 || isWrapperAt(strArgs, i))
                    top += strArgs.mid(i, j - i + 1);
                i = j;
            } else if (c == QLatin1Char('(')) {
                ++depth;
            } else if (c == QLatin1Char(')')) {
                --depth;
            } else if (depth == 0
                       && (c == QLatin1Char(',') || c == QLatin1Char('?')
                           || c == QLatin1Char(':'))) {
                top += QLatin1Char('\x01');
            }
        }
        for (const QString &part : top.split(QLatin1Char('\x01'))) {
            const auto m = wrapped.match(part);
            if (!m.hasMatch())
                continue;
            QString joined;
            for (const auto &p : piece.globalMatch(m.captured(1)))
                joined += unescape(p.captured(1));
            texts.append(joined);
        }
        return texts;
    }

    // A literal directly inside QStringLiteral( or QLatin1String( at the call's level.
    static bool isWrapperAt(const QString &strArgs, int iQuote)
    {
        int open = iQuote - 1;
        while (open >= 0 && strArgs.at(open).isSpace())
            --open;
        if (open < 0 || strArgs.at(open) != QLatin1Char('('))
            return false;
        const QString before = strArgs.left(open);
        if (!before.endsWith(QLatin1String("QStringLiteral"))
            && !before.endsWith(QLatin1String("QLatin1String")))
            return false;
        int depth = 0;
        for (int i = 0; i < open; ++i) {
            if (strArgs.at(i) == QLatin1Char('"')) {
                int j = i + 1;
                while (j < open && strArgs.at(j) != QLatin1Char('"'))
                    j += strArgs.at(j) == QLatin1Char('\\') ? 2 : 1;
                i = j;
            } else if (strArgs.at(i) == QLatin1Char('(')) {
                ++depth;
            } else if (strArgs.at(i) == QLatin1Char(')')) {
                --depth;
            }
        }
        return depth == 0;
    }

    // The argument text of the call whose '(' is at iOpen.
    static QString callArguments(const QString &strSource, int iOpen)
    {
        int depth = 0;
        for (int i = iOpen; i < strSource.size(); ++i) {
            const QChar c = strSource.at(i);
            if (c == QLatin1Char('"')) {
                ++i;
                while (i < strSource.size() && strSource.at(i) != QLatin1Char('"'))
                    i += strSource.at(i) == QLatin1Char('\\') ? 2 : 1;
            } else if (c == QLatin1Char('(')) {
                ++depth;
            } else if (c == QLatin1Char(')') && --depth == 0) {
                return strSource.mid(iOpen + 1, i - iOpen - 1);
            }
        }
        return {};
    }

    // Call name → context for one source: the message-box sites, the
    // one-line lookup helpers the file defines, and explicit lookups.
    static QList<QPair<QString, QString>> lookedUp(const QString &strSource)
    {
        QMap<QString, QString> helpers { { "reportFailure", "MessageBox" },
                                         { "tell", "MessageBox" },
                                         { "confirm", "MessageBox" },
                                         { "showFailure", "Update" },
                                         { "setStatus", "Update" } };
        static const QRegularExpression helper(
            QStringLiteral("QString\\s+(\\w+)\\(const char \\*\\w+\\)\\s*\\{\\s*return "
                           "Lang::(?:tr|single)\\(\"(\\w+)\""));
        for (const auto &m : helper.globalMatch(strSource))
            helpers.insert(m.captured(1), m.captured(2));

        QList<QPair<QString, QString>> found;
        static const QRegularExpression call(
            QStringLiteral("(?<![\\w.>:])(\\w+)\\(|MessageBoxDialog\\s+\\w+\\(|Lang::(?:tr|single)"
                           "\\(\\s*\"(\\w+)\","));
        for (const auto &m : call.globalMatch(strSource)) {
            QString context;
            int open = m.capturedStart(0) + m.captured(0).indexOf(QLatin1Char('('));
            if (m.captured(0).startsWith(QLatin1String("MessageBoxDialog")))
                context = QStringLiteral("MessageBox");
            else if (!m.captured(2).isEmpty())
                context = m.captured(2);
            else
                context = helpers.value(m.captured(1));
            if (context.isEmpty())
                continue;
            QString args = callArguments(strSource, open);
            if (!m.captured(2).isEmpty())
                args = args.mid(args.indexOf(QLatin1Char(',')) + 1);
            for (const QString &text : directLiterals(args))
                found.append({ context, text });
        }
        return found;
    }

    static QStringList placeholders(const QString &strText)
    {
        static const QRegularExpression marker(QStringLiteral("%\\d"));
        QStringList found;
        for (const auto &m : marker.globalMatch(strText))
            found.append(m.captured(0));
        found.sort();
        return found;
    }

private Q_SLOTS:
    // English is the text in the code; every other language offered has
    // a table to give.
    void everyOfferedLanguageHasATable()
    {
        QFile file(QStringLiteral(":/Language/Language.xml"));
        QDomDocument document;
        QVERIFY(file.open(QIODevice::ReadOnly) && document.setContent(&file));
        QSet<QString> codes;
        for (QDomElement e = document.documentElement().firstChildElement(); !e.isNull();
             e = e.nextSiblingElement()) {
            const QString code = e.attribute(QStringLiteral("name"));
            QVERIFY2(!e.text().trimmed().isEmpty(), qPrintable(code));
            QVERIFY2(!codes.contains(code), qPrintable(code));
            codes.insert(code);
            QString version;
            if (code != QLatin1String("en_GB"))
                QVERIFY2(!readTable(code, &version).isEmpty(), qPrintable(code));
        }
        QVERIFY(codes.contains(QStringLiteral("en_GB")));
        QVERIFY(codes.size() > 1);
    }

    void bothTablesHoldTheSameSoundKeys()
    {
        QString cnVersion, twVersion;
        const Table cn = readTable(QStringLiteral("zh_CN"), &cnVersion);
        const Table tw = readTable(QStringLiteral("zh_TW"), &twVersion);
        QCOMPARE(cnVersion, QStringLiteral("mainDoc zh-cn"));
        QCOMPARE(twVersion, QStringLiteral("mainDoc zh-tw"));
        QVERIFY(!cn.isEmpty());

        QStringList problems;
        for (const Table *table : { &cn, &tw }) {
            const Table &other = table == &cn ? tw : cn;
            const QString name = table == &cn ? QStringLiteral("zh_CN") : QStringLiteral("zh_TW");
            for (auto it = table->begin(); it != table->end(); ++it) {
                const QString where
                    = name + QLatin1Char(' ') + it.key().first + QLatin1Char('/') + it.key().second;
                if (!contexts().contains(it.key().first))
                    problems << where + QStringLiteral(": unknown context or duplicate entry");
                if (!other.contains(it.key()))
                    problems << where + QStringLiteral(": missing from the other table");
                if (it.value().trimmed().isEmpty())
                    problems << where + QStringLiteral(": empty translation");
                if (placeholders(it.value()) != placeholders(it.key().second))
                    problems << where + QStringLiteral(": placeholders differ: ") + it.value();
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        qInfo("%d entries in each table", int(cn.size()));
    }

    void everyKeyIsATextOfTheCode()
    {
        QSet<QString> texts;
        for (const QString &file : sourceFiles())
            texts.unite(literals(readSource(file)));
        QString version;
        QStringList unused;
        const Table cn = readTable(QStringLiteral("zh_CN"), &version);
        for (auto it = cn.begin(); it != cn.end(); ++it)
            if (!texts.contains(it.key().second))
                unused << it.key().first + QLatin1Char('/') + it.key().second;
        QVERIFY2(unused.isEmpty(),
                 qPrintable(QStringLiteral("Entries no code writes:\n") + unused.join('\n')));
    }

    void everyLookedUpMessageHasEntries()
    {
        QString version;
        const Table cn = readTable(QStringLiteral("zh_CN"), &version);
        const Table tw = readTable(QStringLiteral("zh_TW"), &version);
        QStringList missing;
        int sites = 0;
        for (const QString &file : sourceFiles()) {
            for (const auto &[context, text] : lookedUp(readSource(file))) {
                ++sites;
                if (text.isEmpty()
                    || !text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2}"))))
                    continue;
                if (!cn.contains({ context, text }) || !tw.contains({ context, text }))
                    missing << QStringLiteral("%1: <%2> %3")
                                   .arg(QDir(sourceDir()).relativeFilePath(file), context, text);
            }
        }
        QVERIFY(sites > 100);
        // The failure message is cut short; the whole list goes to the log.
        for (const QString &line : std::as_const(missing))
            qWarning().noquote() << "untranslated:" << line;
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("Untranslated texts:\n") + missing.join('\n')));
    }

    // The scanner itself, on the shapes the sources use.
    void scannerReadsCallShapes()
    {
        const QString source = QStringLiteral(
            "QString text(const char *strEnglish)\n{\n    return Lang::tr(\"Update\", "
            "QLatin1String(strEnglish));\n}\n"
            "void f() {\n"
            "    reportFailure(QStringLiteral(\"A \"\n \"b.\"), why(QStringLiteral(\"no\")));\n"
            "    setNotes(text(\"Done%1\").arg(QStringLiteral(\"\\n\")));\n"
            "    Lang::tr(\"MessageBox\", on ? QStringLiteral(\"X y\") : QStringLiteral(\"Z "
            "w\"));\n"
            "    MessageBoxDialog box(this, text(\"Nested\"), QStringLiteral(\"Top\"), 0);\n"
            "    other.text(\"not ours\");\n"
            "}\n");
        const auto found = lookedUp(source);
        const QList<QPair<QString, QString>> expected {
            { "MessageBox", "A b." }, { "Update", "Done%1" },  { "MessageBox", "X y" },
            { "MessageBox", "Z w" },  { "MessageBox", "Top" }, { "Update", "Nested" },
        };
        for (const auto &pair : expected)
            QVERIFY2(found.contains(pair), qPrintable(pair.first + ": " + pair.second));
        QVERIFY(!found.contains({ "MessageBox", "no" }));
        QVERIFY(!found.contains({ "MessageBox", "Nested" }));
        QVERIFY(!found.contains({ "Update", "not ours" }));
        QVERIFY(literals(source).contains(QStringLiteral("A b.")));
    }
};

QTEST_GUILESS_MAIN(TestLangTables)
#include "test_langtables.moc"
