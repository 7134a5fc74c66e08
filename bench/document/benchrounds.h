#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Runs a benchmark's measurements interleaved, round after round, so that a
// busy machine slows every side alike; reports medians and spreads, and
// ratios taken within each round.
class BenchRounds
{
public:
    struct Figure
    {
        double median = 0, low = 0, high = 0;
    };

    void add(const std::string &name, std::function<double()> measure)
    {
        order.push_back(name);
        measures[name] = std::move(measure);
    }

    // TAV_BENCH_ROUNDS overrides the count, e.g. for a quick look under a
    // profiler.
    void run(int rounds = 7)
    {
        if (const int asked = qEnvironmentVariableIntValue("TAV_BENCH_ROUNDS"); asked > 0)
            rounds = asked;
        for (const std::string &name : order)
            measures[name](); // warm-up
        for (int r = 0; r < rounds; ++r)
            for (const std::string &name : order)
                results[name].push_back(measures[name]());
    }

    Figure figure(const std::string &name) const { return summary(results.at(name)); }

    // Within each round; with a `floor`, what both pay anyway (e.g. the
    // event loop's own cost) is taken from each side first.
    Figure ratio(const std::string &a, const std::string &b, const std::string &floor = {}) const
    {
        const std::vector<double> &x = results.at(a), &y = results.at(b);
        std::vector<double> r;
        for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
            const double f = floor.empty() ? 0 : results.at(floor).at(i);
            r.push_back((x[i] - f) / (y[i] - f));
        }
        return summary(r);
    }

    void print(const std::string &name, const char *unit = "ms") const
    {
        const Figure f = figure(name);
        std::printf("  %-52s %9.3f %s  (%.3f-%.3f)\n", name.c_str(), f.median, unit, f.low, f.high);
    }

    // Prints a ratio and its target; returns whether the median meets it.
    // A target of 0 prints the ratio alone.
    bool printRatio(const std::string &a, const std::string &b, double target,
                    const std::string &floor = {}) const
    {
        const Figure f = ratio(a, b, floor);
        std::printf("  ratio %.2f (%.2f-%.2f over %zu rounds)", f.median, f.low, f.high,
                    results.at(a).size());
        if (target > 0)
            std::printf(", target at most %.2f: %s", target,
                        f.median <= target ? "met" : "NOT met");
        std::printf("\n");
        return target <= 0 || f.median <= target;
    }

private:
    static Figure summary(std::vector<double> v)
    {
        if (v.empty())
            return {};
        std::sort(v.begin(), v.end());
        return { v[v.size() / 2], v.front(), v.back() };
    }

    std::vector<std::string> order;
    std::map<std::string, std::function<double()>> measures;
    std::map<std::string, std::vector<double>> results;
};
