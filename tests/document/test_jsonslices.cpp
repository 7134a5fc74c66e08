#include "document/jsonslices.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

class TestJsonSlices : public QObject
{
    Q_OBJECT

    static QStringList pieces(const QByteArray &text, const QList<JsonSlices::Range> &ranges)
    {
        QStringList out;
        for (const JsonSlices::Range &r : ranges)
            out.append(QString::fromUtf8(text.mid(r.start, r.length)));
        return out;
    }

private Q_SLOTS:
    // Each element comes out whole, however its strings hide brackets,
    // commas and quotes, and the rest parses to the object without them.
    void elementsAndRest()
    {
        const QJsonObject page { { "html", "p { a: \"b\" } ], [ \\\" x" },
                                 { "n", QJsonArray { 1, 2 } } };
        for (const auto format : { QJsonDocument::Indented, QJsonDocument::Compact }) {
            const QByteArray text
                = QJsonDocument(QJsonObject { { "format", "tavelmark" },
                                              { "pages", QJsonArray { page, 5, "s", page } },
                                              { "version", QJsonArray { 1, 0 } } })
                      .toJson(format);
            QByteArray rest;
            QList<JsonSlices::Range> ranges;
            QVERIFY(JsonSlices::split(text, "pages", &rest, &ranges));
            const QStringList got = pieces(text, ranges);
            QCOMPARE(got.size(), 4);
            QCOMPARE(QJsonDocument::fromJson(got.at(0).toUtf8()).object(), page);
            QCOMPARE(got.at(1), QStringLiteral("5"));
            QCOMPARE(got.at(2), QStringLiteral("\"s\""));
            QCOMPARE(QJsonDocument::fromJson(got.at(3).toUtf8()).object(), page);
            const QJsonObject root = QJsonDocument::fromJson(rest).object();
            QCOMPARE(root.value("pages").toArray(), QJsonArray());
            QCOMPARE(root.value("version").toArray(), (QJsonArray { 1, 0 }));
        }
    }

    // What cannot be split is refused; a missing or odd key leaves the text.
    void brokenAndOddTexts()
    {
        QByteArray rest;
        QList<JsonSlices::Range> ranges;
        for (const QByteArray &broken :
             { QByteArray("[1, 2]"), QByteArray(""), QByteArray("{\"pages\": [1, 2"),
               QByteArray("{\"pages\": [\"open], 1}"), QByteArray("{\"a\" 1}"),
               QByteArray("{\"pages\": [], \"pages\": [1]}"), QByteArray("{\"pages\": [1 2]}") })
            QVERIFY2(!JsonSlices::split(broken, "pages", &rest, &ranges), broken.constData());
        for (const QByteArray &odd :
             { QByteArray("{}"), QByteArray("{\"pages\": 3}"), QByteArray("{\"other\": [1]}") }) {
            QVERIFY2(JsonSlices::split(odd, "pages", &rest, &ranges), odd.constData());
            QCOMPARE(rest, odd);
            QVERIFY(ranges.isEmpty());
        }
        QVERIFY(JsonSlices::split("{\"pages\": [ ]}", "pages", &rest, &ranges));
        QVERIFY(ranges.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestJsonSlices)
#include "test_jsonslices.moc"
