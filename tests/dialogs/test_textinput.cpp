#include "app/appstate.h"
#include "dialogs/numberwidget.h"
#include "dialogs/stamppainter.h"
#include "dialogs/textinputdlg.h"
#include "widgets/colorbtn.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

namespace {

int countPixels(const QImage &image, const std::function<bool(QRgb)> &match)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += match(image.pixel(x, y)) ? 1 : 0;
    return count;
}

bool opaque(QRgb pixel, const QColor &colour)
{
    return qAlpha(pixel) >= 240 && qAbs(qRed(pixel) - colour.red()) < 8
        && qAbs(qGreen(pixel) - colour.green()) < 8 && qAbs(qBlue(pixel) - colour.blue()) < 8;
}

} // namespace

class TestTextInput : public QObject
{
    Q_OBJECT

    static TextStyle &style(int mode) { return AppState::instance().textStyles[mode]; }

private Q_SLOTS:
    void init() { AppState::reset(); }

    void numberStampIsARimmedDiscWithTheNumber()
    {
        TextInputDlg dialog(1, true, nullptr);
        QCOMPARE(dialog.text(), QStringLiteral("1"));
        const int side = 36 * AppState::instance().scaled(2);
        const QImage stamp = dialog.numberPixmap(0).toImage();
        QCOMPARE(stamp.size(), QSize(side, side));
        QCOMPARE(qAlpha(stamp.pixel(0, 0)), 0);
        QVERIFY(opaque(stamp.pixel(side / 2, 1), Qt::white));
        QVERIFY(opaque(stamp.pixel(side / 5, side / 2), Qt::red));
        // The digit, white, inside the disc.
        const QImage middle = stamp.copy(side / 3, side / 4, side / 3, side / 2);
        QVERIFY(countPixels(middle, [](QRgb p) { return opaque(p, Qt::white); }) > 20);
        QCOMPARE(AppState::instance().nextNumber, 1);
        // The preview shows the same picture.
        QCOMPARE(dialog.findChild<NumberWidget *>()->pixmap().toImage(), stamp);
    }

    void nextNumberContinuesAndWraps()
    {
        AppState &s = AppState::instance();
        s.nextNumber = 99;
        for (const int next : { 0, 1 }) {
            TextInputDlg dialog(1, false, nullptr);
            QCOMPARE(dialog.text(), QString::number(next == 0 ? 99 : 0));
            dialog.numberPixmap(1);
            QCOMPARE(s.nextNumber, next);
        }
        {
            TextInputDlg dialog(1, false, nullptr);
            auto *field = dialog.findChild<QLineEdit *>();
            field->clear();
            QTest::keyClicks(field, QStringLiteral("05"));
            QCOMPARE(dialog.text(), QStringLiteral("05"));
            dialog.numberPixmap(1);
            QCOMPARE(s.nextNumber, 6);
        }
        TextInputDlg reset(1, true, nullptr);
        QCOMPARE(reset.text(), QStringLiteral("1"));
        QCOMPARE(s.nextNumber, 1);
    }

    void styleChangesOutliveACancel()
    {
        {
            TextInputDlg dialog(0, false, nullptr);
            const QList<QCheckBox *> boxes = dialog.findChildren<QCheckBox *>();
            QCOMPARE(boxes.size(), 3);
            boxes[0]->click();
            auto *sizes = dialog.findChildren<QComboBox *>()[1];
            sizes->setCurrentIndex(sizes->findText(QStringLiteral("48")));

            for (const bool accept : { true, false }) {
                QTimer::singleShot(0, [accept] {
                    auto *picker = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
                    QVERIFY(picker);
                    picker->setCurrentColor(Qt::green);
                    accept ? picker->accept() : picker->reject();
                });
                dialog.findChildren<ColorBtn *>()[accept ? 0 : 1]->click();
            }
            dialog.reject();
        }
        QCOMPARE(style(0).font.weight(), QFont::Bold);
        QCOMPARE(style(0).font.pointSize(), 48);
        QCOMPARE(style(0).textColor, QColor(Qt::green));
        QCOMPARE(style(0).borderColor, QColor(Qt::white));
        QCOMPARE(style(1).font.pointSize(), 36);

        TextInputDlg again(0, false, nullptr);
        QVERIFY(again.findChildren<QCheckBox *>()[0]->isChecked());
        QCOMPARE(again.findChildren<ColorBtn *>()[0]->color(), QColor(Qt::green));
    }

    // A missing family shows the font that stands in for it, never a blank
    // box, and the style keeps the family it asked for.
    void unknownFamilyOrSizeKeepsTheStyle()
    {
        style(1).font = QFont(QStringLiteral("No Such Family Anywhere"), 13);
        TextInputDlg dialog(1, false, nullptr);
        const QList<QComboBox *> lists = dialog.findChildren<QComboBox *>();
        QVERIFY(lists[0]->currentIndex() >= 0);
        QCOMPARE(lists[0]->currentText(), QFontInfo(style(1).font).family());
        QCOMPARE(lists[1]->currentIndex(), -1);
        const QFont font = dialog.currentFont();
        QCOMPARE(font.family(), QStringLiteral("No Such Family Anywhere"));
        QCOMPARE(font.pointSize(), 13);
        QCOMPARE(dialog.numberPixmap(0).width(), 13 * AppState::instance().scaled(2));
    }

    // Typing goes into the text at once; Ctrl+Return accepts, Return does not.
    void typingFillsTheTextAndCtrlReturnAccepts()
    {
        TextInputDlg dialog(0, false, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Hi there"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
        QCOMPARE(dialog.text(), QStringLiteral("Hi there\nx"));
        QVERIFY(dialog.isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!style(0).font.bold());

        TextInputDlg number(1, false, nullptr);
        number.show();
        QVERIFY(QTest::qWaitForWindowActive(&number));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("42"));
        QCOMPARE(number.text(), QStringLiteral("42"));
    }

    void textStampOutlinesEveryLine()
    {
        const TextStyle &textStyle = style(0);
        const QFontMetrics metrics(textStyle.font);
        const int lineHeight = 1 + metrics.ascent() + metrics.descent() + metrics.leading();
        const QImage one = StampPainter::textPixmap(QStringLiteral("Hello"), textStyle).toImage();
        QCOMPARE(one.height(), lineHeight);
        QCOMPARE(one.width(),
                 metrics.boundingRect(QStringLiteral("Hello")).width()
                     + AppState::instance().scaled(24));

        const QImage three
            = StampPainter::textPixmap(QStringLiteral("Hello\n\nWorld!"), textStyle).toImage();
        QCOMPARE(three.height(), 3 * lineHeight);
        const int red = countPixels(three, [](QRgb p) { return opaque(p, Qt::red); });
        const int white = countPixels(three, [](QRgb p) { return opaque(p, Qt::white); });
        const int shadow = countPixels(three, [](QRgb p) {
            return qAlpha(p) > 60 && qAlpha(p) < 200 && qRed(p) < 40 && qGreen(p) < 40;
        });
        QVERIFY(red > 50 && white > 50 && shadow > 10);
        // The empty middle line stays empty.
        const QImage middle = three.copy(0, lineHeight + metrics.descent() + 3, three.width(),
                                         lineHeight - metrics.descent() - 6);
        QCOMPARE(countPixels(middle, [](QRgb p) { return qAlpha(p) > 0; }), 0);
    }
};

QTEST_MAIN(TestTextInput)
#include "test_textinput.moc"
