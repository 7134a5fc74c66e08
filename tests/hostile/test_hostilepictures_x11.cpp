#include "realprogram.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QtTest>

#include <memory>

// The real program given a hostile picture on its command line, as a
// student's mail would hand it over.
class TestHostilePicturesX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    // 1.2 KB of SVG embedding eight GIFs whose logical screens are 8000 x
    // 8000 pixels: it once opened as a page after decoding about 2 GB. Now
    // it is refused with a message before anything is decoded, and the
    // program goes on.
    void svgOfHugeGifScreensIsRefusedWithAMessage()
    {
        const QString svg = env->path(QStringLiteral("screens.svg"));
        QVERIFY(QFile::copy(QStringLiteral(TAV_TEST_DATA "/hostile/gif-screens.svg"), svg));
        const X11Probe x11;
        RealProgram program(*env);
        QVERIFY(program.start({}, { svg }));
        QVERIFY2(!program.toolbar().isEmpty(), "the toolbar never showed");
        TAV_TRY_VERIFY(RealProgram::windowCount(Title) >= 2, 15000);
        QVERIFY(!RealProgram::fullScreenClientShown(x11, 0));
        RealProgram::key(QStringLiteral("Return"));
        QTRY_COMPARE_WITH_TIMEOUT(RealProgram::windowCount(Title), 1, 10000);
        QCOMPARE(program.program.state(), QProcess::Running);
        QVERIFY(!RealProgram::fullScreenClientShown(x11, 0));
    }

private:
    const QString Title = QStringLiteral("Quillbury Tavelmark");
};

QTEST_MAIN(TestHostilePicturesX11)
#include "test_hostilepictures_x11.moc"
