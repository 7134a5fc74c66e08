#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// Dependencies between the folders of src/ run one way, as src/layers.txt
// lists them: a folder includes itself and the layers below it, never one
// above or beside it. This reads every include of the sources and reports
// the ones that break the rule, so that the rule is learnt from a failing
// test rather than a review.
class LayerCheck
{
public:
    explicit LayerCheck(const QString &strSourceDir)
        : source(strSourceDir)
    {
        readLayers();
    }

    QStringList problems() const { return found; }
    int includesRead() const { return read; }

    void check()
    {
        QDirIterator files(source, { "*.cpp", "*.h" }, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            checkFile(files.next());
    }

private:
    void readLayers()
    {
        QFile file(source + QStringLiteral("/layers.txt"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            found.append(QStringLiteral("layers.txt is missing"));
            return;
        }
        static const QRegularExpression entry(QStringLiteral("^([a-z]+):(.*)$"));
        while (!file.atEnd()) {
            const QRegularExpressionMatch match
                = entry.match(QString::fromUtf8(file.readLine()).trimmed());
            if (!match.hasMatch())
                continue;
            QSet<QString> reach;
            for (const QString &below :
                 match.captured(2).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                if (!layers.contains(below))
                    found.append(QStringLiteral("layers.txt: %1 names %2 before it is listed")
                                     .arg(match.captured(1), below));
                reach += layers.value(below);
                reach.insert(below);
            }
            layers.insert(match.captured(1), reach);
        }
    }

    void checkFile(const QString &strPath)
    {
        const QString relative = QDir(source).relativeFilePath(strPath);
        const QString folder = relative.section(QLatin1Char('/'), 0, 0);
        // The entry point above every layer may include any of them.
        if (!relative.contains(QLatin1Char('/')))
            return;
        if (!layers.contains(folder)) {
            found.append(
                QStringLiteral("%1: folder %2 is not in layers.txt").arg(relative, folder));
            return;
        }
        QFile file(strPath);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return;
        static const QRegularExpression include(
            QStringLiteral("^\\s*#\\s*include\\s+\"([^\"]+)\""));
        int line = 0;
        while (!file.atEnd()) {
            ++line;
            const QRegularExpressionMatch match = include.match(QString::fromUtf8(file.readLine()));
            if (match.hasMatch())
                checkInclude(relative, folder, line, match.captured(1));
        }
    }

    void checkInclude(const QString &strFile, const QString &strFolder, int iLine,
                      const QString &strIncluded)
    {
        ++read;
        const QString target = strIncluded.section(QLatin1Char('/'), 0, 0);
        const bool named = strIncluded.contains(QLatin1Char('/')) && layers.contains(target);
        if (named && target != strFolder && !layers.value(strFolder).contains(target))
            found.append(QStringLiteral("%1:%2 includes %3, which %4 may not use")
                             .arg(strFile)
                             .arg(iLine)
                             .arg(strIncluded, strFolder));
        // An include without a layer name must be the folder's own file, or
        // it would reach another folder through the include path.
        const QString dir = QFileInfo(source + QLatin1Char('/') + strFile).absolutePath();
        if (!named && !QFile::exists(dir + QLatin1Char('/') + strIncluded))
            found.append(QStringLiteral("%1:%2 includes %3, which is not in its folder")
                             .arg(strFile)
                             .arg(iLine)
                             .arg(strIncluded));
    }

    QString source;
    QHash<QString, QSet<QString>> layers;
    QStringList found;
    int read = 0;
};

class TestLayers : public QObject
{
    Q_OBJECT

    static void write(const QString &strPath, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(strPath).absolutePath());
        QFile file(strPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

private Q_SLOTS:
    void sourcesKeepTheLayers()
    {
        LayerCheck check(QStringLiteral(TAV_SOURCE_DIR "/src"));
        check.check();
        QVERIFY2(check.includesRead() > 500, "the sources were not found");
        QVERIFY2(check.problems().isEmpty(), qPrintable(check.problems().join(QLatin1Char('\n'))));
    }

    // The tools reach the canvas through ToolHost alone, never the view.
    void toolsDoNotIncludeTheView()
    {
        static const QRegularExpression view(
            QStringLiteral("^\\s*#\\s*include\\s+\"(canvas/)?mainview\\.h\""),
            QRegularExpression::MultilineOption);
        QDirIterator files(QStringLiteral(TAV_SOURCE_DIR "/src/canvas"), { "*tool*" }, QDir::Files);
        QStringList found;
        int read = 0;
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
            ++read;
            if (view.match(QString::fromUtf8(file.readAll())).hasMatch())
                found.append(QFileInfo(file).fileName());
        }
        QVERIFY2(read > 20, "the tools were not found");
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char(' '))));
    }

    // The check itself: a small tree with one include of each kind.
    void upwardSidewaysAndStrayIncludesAreFound()
    {
        QTemporaryDir dir;
        const QString src = dir.path();
        write(src + "/layers.txt",
              "# bottom first\nbase:\nleft: base\nright: base\ntop: left right\n");
        write(src + "/base/value.h", "#pragma once\n");
        write(src + "/left/panel.h", "#include \"base/value.h\"\n#include \"panel_p.h\"\n");
        write(src + "/left/panel_p.h", "\n");
        write(src + "/right/view.h", "#include \"left/panel.h\"\n");
        write(src + "/base/up.cpp", "#include \"top/window.h\"\n");
        write(src + "/top/window.h", "#include \"left/panel.h\"\n#include \"base/value.h\"\n");
        write(src + "/top/stray.cpp", "#include \"value.h\"\n");
        write(src + "/extra/thing.h", "\n");
        write(src + "/main.cpp", "#include \"top/window.h\"\n");
        LayerCheck check(src);
        check.check();
        QStringList problems = check.problems();
        problems.sort();
        QCOMPARE(problems,
                 QStringList({ "base/up.cpp:1 includes top/window.h, which base may not use",
                               "extra/thing.h: folder extra is not in layers.txt",
                               "right/view.h:1 includes left/panel.h, which right may not use",
                               "top/stray.cpp:1 includes value.h, which is not in its folder" }));
    }
};

QTEST_GUILESS_MAIN(TestLayers)
#include "test_layers.moc"
