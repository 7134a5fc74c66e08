#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QtTest>

// The resource paths the program names are read from its sources, so that a
// new one cannot go unchecked: each must resolve. Every picture of the tree
// is a real drawing (not empty or a single colour) with a twice-as-large
// "@2x" twin.
class TestResources : public QObject
{
    Q_OBJECT

    static int distinctColours(const QImage &image)
    {
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        return colours.size();
    }

    // Every ":/…" literal in the sources.
    static QSet<QString> namedPaths()
    {
        static const QRegularExpression literal(QStringLiteral("\"(:/[^\"]*)\""));
        QSet<QString> paths;
        QDirIterator files(QStringLiteral(TAV_SOURCE_DIR "/src"), { "*.cpp", "*.h" }, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch &match : literal.globalMatch(text))
                paths.insert(match.captured(1));
        }
        return paths;
    }

    // A path with "%1" stands for its numbered or per-language entries; one
    // ending in "/" is a folder whose entries the code names by value.
    static bool resolves(const QString &path)
    {
        if (path.endsWith(QLatin1Char('/')))
            return !QDir(path).isEmpty();
        if (!path.contains(QStringLiteral("%1")))
            return QFile::exists(path);
        const QStringList fillings
            = { QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("zh_CN") };
        for (const QString &filling : fillings)
            if (QFile::exists(path.arg(filling)))
                return true;
        return false;
    }

    static QStringList pictures()
    {
        QStringList found;
        QDirIterator it(QStringLiteral(":/"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.startsWith(QStringLiteral(":/qt-project.org"))
                || path.endsWith(QStringLiteral("@2x")))
                continue;
            static const QList<QByteArray> raster = { "png", "jpeg", "gif", "bmp" };
            if (raster.contains(QImageReader(path).format()))
                found.append(path);
        }
        return found;
    }

private Q_SLOTS:
    void namedPathsResolve()
    {
        const QSet<QString> paths = namedPaths();
        QVERIFY2(paths.size() > 50, "the sources were not found");
        for (const QString &path : paths)
            QVERIFY2(resolves(path), qPrintable(path));
    }

    void picturesHaveTwins_data()
    {
        QTest::addColumn<QString>("path");
        const QStringList all = pictures();
        QVERIFY(all.size() > 100);
        for (const QString &path : all)
            QTest::newRow(qPrintable(path)) << path;
    }

    void picturesHaveTwins()
    {
        QFETCH(QString, path);
        const QImage normal(path);
        const QImage twin(path + QStringLiteral("@2x"));
        QVERIFY2(!normal.isNull(), qPrintable(path));
        QVERIFY2(!twin.isNull(), qPrintable(path + QStringLiteral("@2x")));
        QCOMPARE(twin.size(), normal.size() * 2);
        QVERIFY(distinctColours(normal) > 4);
        QVERIFY(distinctColours(twin) > 4);
    }
};

QTEST_GUILESS_MAIN(TestResources)
#include "test_resources.moc"
