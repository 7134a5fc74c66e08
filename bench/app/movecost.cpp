#include "movecost.h"

#include "benchpage.h"
#include "procstats.h"
#include "xtestinput.h"

namespace {
// Long enough for a fading trail's next step to come due.
const int stillMs = 500;
} // namespace

std::vector<QPoint> MoveCost::figureOfEight(const QSize &size, int moves)
{
    BenchPage page;
    page.logical = size;
    std::vector<QPoint> points;
    for (const QPointF &p : page.figureOfEight(moves))
        points.push_back(p.toPoint());
    return points;
}

double MoveCost::perMoveUs(XTestInput &input, long long pid, const Run &run)
{
    if (run.path.size() < 2)
        return -1;
    input.moveTo(run.path.front());
    if (run.buttonHeld)
        input.press();
    input.sync();
    ProcStats::settled(pid, stillMs);
    const ProcStats::Tasks before = ProcStats::tasks(pid);
    input.movePaced(std::vector<QPoint>(run.path.begin() + 1, run.path.end()), run.intervalUs);
    input.sync();
    ProcStats::settled(pid, stillMs);
    const ProcStats::Tasks after = ProcStats::tasks(pid);
    if (run.buttonHeld)
        input.release();
    input.sync();
    ProcStats::settled(pid, stillMs);
    if (after.isEmpty())
        return -1;
    return ProcStats::growth(before, after).ms * 1000 / double(run.path.size() - 1);
}
