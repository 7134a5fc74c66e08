#pragma once

#include <QApplication>
#include <QDialog>
#include <QtTest>

// Walks a dialog's Tab round as a keyboard user does: every control that
// matters is reached, down the dialog row by row, left to right in a row.
class TabRound
{
public:
    static void showActive(QDialog &dialog)
    {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }

    // Every control Tab visits, from the one that has the keyboard, once round.
    static QList<QWidget *> tabRound(QDialog &dialog)
    {
        QList<QWidget *> round;
        QWidget *start = QApplication::focusWidget();
        for (QWidget *w = start; w && !round.contains(w) && round.size() < 200;
             w = QApplication::focusWidget()) {
            round.append(w);
            QTest::keyClick(w, Qt::Key_Tab);
        }
        return round;
    }

    // The controls a user could want to reach: shown, enabled, taking focus.
    static QList<QWidget *> controls(QDialog &dialog)
    {
        QList<QWidget *> found;
        for (QWidget *w : dialog.findChildren<QWidget *>()) {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)
                && !w->focusProxy())
                found.append(w);
        }
        return found;
    }

    static QPoint place(QWidget *w) { return w->mapTo(w->window(), QPoint(0, 0)); }

    // Down the dialog row by row, left to right within a row; a row is the
    // controls whose tops lie within half a control's height of each other.
    static bool readsInOrder(QWidget *before, QWidget *after)
    {
        const QPoint a = place(before), b = place(after);
        const int sameRow = qMin(before->height(), after->height()) / 2;
        if (qAbs(a.y() - b.y()) <= sameRow)
            return b.x() > a.x();
        return b.y() > a.y();
    }

    static void check(QDialog &dialog)
    {
        const QList<QWidget *> round = tabRound(dialog);
        for (QWidget *control : controls(dialog)) {
            if (!round.contains(control))
                QFAIL(qPrintable(QStringLiteral("Tab never reaches %1 \"%2\"")
                                     .arg(QLatin1String(control->metaObject()->className()),
                                          control->objectName())));
        }
        // The round starts anywhere; from its top-left control it reads on.
        int first = 0;
        for (int i = 1; i < round.size(); ++i) {
            if (readsInOrder(round.at(i), round.at(first)))
                first = i;
        }
        for (int i = 1; i < round.size(); ++i) {
            QWidget *a = round.at((first + i - 1) % round.size());
            QWidget *b = round.at((first + i) % round.size());
            if (!readsInOrder(a, b))
                QFAIL(qPrintable(QStringLiteral("Tab goes from %1 at %2,%3 back to %4 at %5,%6")
                                     .arg(QLatin1String(a->metaObject()->className()))
                                     .arg(place(a).x())
                                     .arg(place(a).y())
                                     .arg(QLatin1String(b->metaObject()->className()))
                                     .arg(place(b).x())
                                     .arg(place(b).y())));
        }
    }
};
