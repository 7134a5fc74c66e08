#include "realprogram.h"
#include "testenvironment.h"

#include "app/appstate.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/mainpage.h"
#include "document/objstroke.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QtTest>

#include <memory>

// The real program handed a document of 100 screen-sized pages on its
// command line: the first page shows while the rest are read, and the page
// label tells that more pages are coming until the last is in.
class TestOpenLargeX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    static constexpr int Pages = 100;
    const QColor firstColour { 40, 150, 60 };

    // Pictures of gradients; the first page's is a plain colour to find on
    // the screen.
    QString writeDocument(const QSize &size)
    {
        QRandomGenerator rng(28);
        QList<MainPage *> pages;
        for (int i = 0; i < Pages; ++i) {
            auto *page = new MainPage(size, false);
            QImage picture(size, QImage::Format_RGB32);
            if (i == 0) {
                picture.fill(firstColour);
            } else {
                QPainter painter(&picture);
                QLinearGradient sky(0, 0, size.width(), size.height());
                sky.setColorAt(0, QColor::fromHsv(int(rng.bounded(360)), 120, 230));
                sky.setColorAt(1, QColor::fromHsv(int(rng.bounded(360)), 160, 90));
                painter.fillRect(picture.rect(), sky);
            }
            if (!picture.save(MainPage::backgroundFile(page->id)))
                return QString();
            page->background = MainPage::PictureBackground;
            auto *stroke = new ObjStroke;
            stroke->path.moveTo(100, 500);
            stroke->path.lineTo(300, 500);
            page->appendObjects({ stroke }, false);
            pages.append(page);
        }
        const QString file = env->path(QStringLiteral("term.tavelmark"));
        DocumentWriter writer;
        const bool written
            = writer.write(DocumentSnapshot::take(pages, 1), file, DocumentWriter::Embedded);
        qDeleteAll(pages);
        return written ? file : QString();
    }

    // How far left the label's text reaches in the top right corner, over
    // the first page's colour (below the window's top edge).
    int labelLeft() const
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const int from = screen.width() / 2;
        const QImage band = QGuiApplication::primaryScreen()
                                ->grabWindow(0, from, 0, screen.width() - from, 80)
                                .toImage();
        for (int x = 0; x < band.width(); ++x)
            for (int y = 8; y < band.height(); ++y)
                if (!RealProgram::nearColour(band.pixelColor(x, y), firstColour, 40))
                    return from + x;
        return screen.width();
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        QDir().mkpath(AppState::instance().tempFolder = env->path(QStringLiteral("pages/")));
    }
    void cleanup() { env.reset(); }

    void firstPageShowsWhileTheRestComeIn()
    {
        const QString file = writeDocument(QGuiApplication::primaryScreen()->size());
        QVERIFY(!file.isEmpty());
        RealProgram program(*env);
        QVERIFY(program.start({}, { file }));
        const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
        TAV_TRY_VERIFY(RealProgram::nearColour(RealProgram::shownAt(middle), firstColour, 2),
                       30000);
        const int whileLoading = labelLeft();
        // "1 | n   m still loading" shrinks to "1 | 100".
        QTRY_VERIFY2_WITH_TIMEOUT(
            labelLeft() > whileLoading + 60,
            qPrintable(QStringLiteral("label from %1 to %2").arg(whileLoading).arg(labelLeft())),
            60000);
        QVERIFY(RealProgram::nearColour(RealProgram::shownAt(middle), firstColour, 2));
        QVERIFY(program.program.state() == QProcess::Running);
    }
};

QTEST_MAIN(TestOpenLargeX11)
#include "test_openlarge_x11.moc"
