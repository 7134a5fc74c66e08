#include "desktoptools/protractordlg.h"
#include "testenvironment.h"
#include "widgets/closebtn.h"

#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {
const QColor Backdrop(40, 90, 160);

QRgb at(const QImage &image, const QPoint &p)
{
    return image.pixel(p) | 0xff000000;
}

bool reddish(QRgb p)
{
    return qRed(p) > qGreen(p) + 60 && qRed(p) > qBlue(p) + 40;
}

// An antialiased one-pixel line may share its ink between two pixels.
bool reddishNear(const QImage &image, const QPoint &p)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (reddish(at(image, p + QPoint(dx, dy))))
                return true;
    return false;
}
} // namespace

// The protractor on a one-colour still picture of the offscreen screen, driven by real mouse
// events.
class TestProtractor : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<QPixmap> still;
    std::unique_ptr<ProtractorDlg> dialog;

    QImage picture() const { return dialog->grab().toImage(); }
    QPoint centre() const { return QPoint(dialog->width() / 2, dialog->height() / 2); }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        still = std::make_unique<QPixmap>(QGuiApplication::primaryScreen()->size());
        still->fill(Backdrop);
        dialog = std::make_unique<ProtractorDlg>(still.get(), nullptr);
        dialog->show();
    }
    void cleanup()
    {
        dialog.reset();
        still.reset();
        env.reset();
    }

    void angleTurnsClockwiseFromTheFirstArm_data()
    {
        QTest::addColumn<QPoint>("first");
        QTest::addColumn<QPoint>("second");
        QTest::addColumn<double>("degrees");
        QTest::newRow("up to right") << QPoint(0, -100) << QPoint(100, 0) << 90.0;
        QTest::newRow("right to up") << QPoint(100, 0) << QPoint(0, -100) << 270.0;
        QTest::newRow("up to lower right") << QPoint(0, -100) << QPoint(100, 100) << 135.0;
        QTest::newRow("left to down") << QPoint(-50, 0) << QPoint(0, 30) << 270.0;
        QTest::newRow("down-left to up-left") << QPoint(-10, 10) << QPoint(-10, -10) << 90.0;
        QTest::newRow("arms on each other") << QPoint(30, 40) << QPoint(60, 80) << 360.0;
        QTest::newRow("second just counter-clockwise")
            << QPoint(100, 0) << QPoint(100, -1) << 359.427;
    }

    void angleTurnsClockwiseFromTheFirstArm()
    {
        QFETCH(QPoint, first);
        QFETCH(QPoint, second);
        QFETCH(double, degrees);
        const QPoint vertex(400, 300);
        const float angle = ProtractorDlg::angle(vertex, vertex + first, vertex + second);
        QVERIFY2(qAbs(angle - degrees) < 0.01, qPrintable(QString::number(angle)));
    }

    void angleTextKeepsThreeDigits()
    {
        QCOMPARE(ProtractorDlg::angleText(90), QStringLiteral("90 '"));
        QCOMPARE(ProtractorDlg::angleText(45.25f), QStringLiteral("45.3 '"));
        QCOMPARE(ProtractorDlg::angleText(123.4f), QStringLiteral("123 '"));
    }

    void opensOnARightAngleWithTheArcInTheUpperRightQuadrant()
    {
        const QPoint v = centre();
        QCOMPARE(dialog->point(ProtractorDlg::FirstEnd), v - QPoint(0, 100));
        QCOMPARE(dialog->point(ProtractorDlg::SecondEnd), v + QPoint(100, 0));
        QCOMPARE(
            ProtractorDlg::angleText(ProtractorDlg::angle(v, dialog->point(ProtractorDlg::FirstEnd),
                                                          dialog->point(ProtractorDlg::SecondEnd))),
            QStringLiteral("90 '"));
        const QImage image = picture();
        QVERIFY(reddish(at(image, v + QPoint(23, -23))));
        QVERIFY(!reddish(at(image, v + QPoint(-23, 23))));
        QVERIFY(!reddish(at(image, v + QPoint(-23, -23))));
        QVERIFY(reddishNear(image, v + QPoint(0, -60)));
        QVERIFY(reddishNear(image, v + QPoint(60, 0)));
        auto *close = dialog->findChild<CloseBtn *>();
        QVERIFY(close->isVisible());
        QCOMPARE(close->geometry().bottomRight(), v - QPoint(3, 3));
    }

    void handlesAreHitSecondArmFirst()
    {
        const QPoint v = centre();
        QCOMPARE(dialog->hitTest(v + QPoint(11, 11)), int(ProtractorDlg::Vertex));
        QCOMPARE(dialog->hitTest(v + QPoint(12, -12)), int(ProtractorDlg::NoHandle));
        QCOMPARE(dialog->hitTest(v + QPoint(123, 0)), int(ProtractorDlg::SecondEnd));
        QCOMPARE(dialog->hitTest(v + QPoint(124, 0)), int(ProtractorDlg::NoHandle));
        // Move the first arm end onto the second: the second wins.
        QTest::mousePress(dialog.get(), Qt::LeftButton, Qt::NoModifier, v - QPoint(0, 100));
        QTest::mouseMove(dialog.get(), v + QPoint(90, 0));
        QTest::mouseRelease(dialog.get(), Qt::LeftButton, Qt::NoModifier, v + QPoint(90, 0));
        QCOMPARE(dialog->hitTest(v + QPoint(95, 0)), int(ProtractorDlg::SecondEnd));
        QCOMPARE(ProtractorDlg::angle(v, dialog->point(1), dialog->point(2)), 360.0f);
    }

    void draggingAnArmEndShowsTheLoupeOutOfTheWay()
    {
        const QPoint v = centre();
        auto *close = dialog->findChild<CloseBtn *>();
        QTest::mousePress(dialog.get(), Qt::LeftButton, Qt::NoModifier, v + QPoint(110, 5));
        QCOMPARE(dialog->currentHandle(), int(ProtractorDlg::SecondEnd));
        QCOMPARE(dialog->point(ProtractorDlg::SecondEnd), v + QPoint(110, 5));
        QVERIFY(!close->isVisible());
        QTest::mouseMove(dialog.get(), QPoint(50, 60));
        QCOMPARE(dialog->point(ProtractorDlg::SecondEnd), QPoint(50, 60));
        QCOMPARE(dialog->loupeRect().center(),
                 QPoint(dialog->width() - 123, dialog->height() - 123));
        const QImage image = picture();
        // The loupe's caption strip, mid grey, at the bottom-right.
        QCOMPARE(at(image, dialog->loupeRect().bottomLeft() + QPoint(3, -3)), qRgb(120, 120, 120));
        QTest::mouseRelease(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 60));
        QCOMPARE(dialog->currentHandle(), int(ProtractorDlg::NoHandle));
        QVERIFY(close->isVisible());
        QCOMPARE(at(picture(), dialog->loupeRect().bottomLeft() + QPoint(3, -3)),
                 QColor(Backdrop).rgb());
    }

    void movingTheVertexShowsOnlyCrossAndLoupe()
    {
        const QPoint v = centre();
        QTest::mousePress(dialog.get(), Qt::LeftButton, Qt::NoModifier, v);
        QTest::mouseMove(dialog.get(), QPoint(500, 400));
        QCOMPARE(dialog->point(ProtractorDlg::Vertex), QPoint(500, 400));
        QImage image = picture();
        QCOMPARE(at(image, QPoint(700, 400)), qRgb(30, 30, 30));
        QCOMPARE(at(image, QPoint(700, 399)), qRgb(230, 230, 230));
        QCOMPARE(at(image, QPoint(500, 590)), qRgb(30, 30, 30));
        // No arms: the way to the first arm end is bare.
        const QPoint armMiddle = (QPoint(500, 400) + v - QPoint(0, 100)) / 2;
        QVERIFY(!reddishNear(image, armMiddle));
        QTest::mouseRelease(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(500, 400));
        image = picture();
        QVERIFY(reddishNear(image, armMiddle));
        QCOMPARE(at(image, QPoint(700, 400)), QColor(Backdrop).rgb());
    }

    void keysMoveTheWholeOrOnePointAndLengthenTheArms()
    {
        const QPoint v = centre();
        QTest::keyClick(dialog.get(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(dialog.get(), Qt::Key_Down);
        QCOMPARE(dialog->point(ProtractorDlg::Vertex), v + QPoint(10, 1));
        QCOMPARE(dialog->point(ProtractorDlg::FirstEnd), v + QPoint(10, -99));
        QCOMPARE(dialog->point(ProtractorDlg::SecondEnd), v + QPoint(110, 1));

        // Ctrl: both arms longer, the angle the same.
        QTest::keyClick(dialog.get(), Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(dialog->point(ProtractorDlg::FirstEnd), v + QPoint(10, -109));
        QCOMPARE(dialog->point(ProtractorDlg::SecondEnd), v + QPoint(120, 1));

        // Tab: the vertex, then the first arm's end alone, with the loupe on it.
        QTest::keyClick(dialog.get(), Qt::Key_Tab);
        QTest::keyClick(dialog.get(), Qt::Key_Tab);
        QCOMPARE(dialog->currentHandle(), int(ProtractorDlg::FirstEnd));
        QTest::keyClick(dialog.get(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(dialog->point(ProtractorDlg::FirstEnd), v + QPoint(0, -109));
        QCOMPARE(dialog->point(ProtractorDlg::Vertex), v + QPoint(10, 1));
        QVERIFY(!dialog->loupeRect().isEmpty());
        QTest::keyClick(dialog.get(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(dialog.get(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(dialog->currentHandle(), int(ProtractorDlg::NoHandle));
    }

    void escapeAndRightReleaseCancel()
    {
        QSignalSpy finished(dialog.get(), &QDialog::finished);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Rejected));
        dialog->show();
        QTest::mouseClick(dialog.get(), Qt::RightButton, Qt::NoModifier, QPoint(30, 30));
        QCOMPARE(finished.count(), 2);
        QCOMPARE(finished.at(1).at(0).toInt(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestProtractor)
#include "test_protractor.moc"
