#pragma once

#include <QImage>
#include <QString>

// Compares a freshly taken picture of the guide with the committed one. Text
// is drawn by whatever fonts the machine has, so pixels are not compared one
// by one: both pictures are reduced to blocks of Block x Block pixels (their
// average colour), and a block differs when a channel differs by more than
// Tolerance. The pictures match when their sizes differ by at most SizeSlack
// pixels and at most a budget of the blocks differ: a moved glyph or a
// blinking caret passes, a panel with a new row or a changed look does not.
class ScreenshotCompare
{
public:
    static constexpr int Block = 4;
    static constexpr int Tolerance = 40;
    static constexpr int SizeSlack = 2;
    // Per thousand of the blocks, and at least MinBudget blocks.
    static constexpr int BudgetPerMille = 5;
    static constexpr int MinBudget = 4;

    ScreenshotCompare(const QImage &committed, const QImage &fresh);

    bool matches() const { return why.isEmpty(); }
    // Why they do not match, for the test's output.
    QString reason() const { return why; }
    int differingBlocks() const { return differing; }
    int budget() const { return allowed; }
    // The committed picture, the fresh one and the differing blocks marked
    // in red over a faint copy of the fresh one, side by side.
    QImage diffImage() const;

private:
    void compareBlocks();

    QImage committed;
    QImage fresh;
    QImage marks;
    QString why;
    int differing = 0;
    int allowed = 0;
};
