#include "dialogs/aboutdlg.h"
#include "dialogs/preferencesdlg.h"
#include "dialogs/textinputdlg.h"
#include "tabround.h"
#include "testenvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

// The dialogs run by keyboard alone: Tab reaches every control in reading
// order, and Return and Escape answer them.
class TestDialogKeys : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void preferencesReadInOrderAndAnswerEscape()
    {
        PreferencesDlg dialog;
        TabRound::showActive(dialog);
        TabRound::check(dialog);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
    }

    void textStampByKeysAlone()
    {
        TextInputDlg dialog(0, false);
        TabRound::showActive(dialog);
        auto *edit = dialog.findChild<QTextEdit *>();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(edit));
        QTest::keyClicks(edit, QStringLiteral("Hello"));
        TabRound::check(dialog);
        // The font controls take the keyboard too.
        const QList<QComboBox *> lists = dialog.findChildren<QComboBox *>();
        QVERIFY(!lists.isEmpty());
        for (QComboBox *list : lists)
            QVERIFY(list->focusPolicy() & Qt::TabFocus);
        // Tab round to OK, and Space on it accepts.
        auto *box = dialog.findChild<QDialogButtonBox *>();
        QPushButton *ok = box->button(QDialogButtonBox::Ok);
        while (QApplication::focusWidget() != ok)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(ok, Qt::Key_Space);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.text(), QStringLiteral("Hello"));
    }

    void aboutClosesByEscape()
    {
        AboutDlg dialog;
        TabRound::showActive(dialog);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(TestDialogKeys)
#include "test_dialogkeys.moc"
