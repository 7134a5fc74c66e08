#pragma once

#include <QFuture>
#include <QPromise>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Runs one job per page on a pool of worker threads and hands the results to
// the thread that takes them, in page order. Only a few results are ever
// ahead of the taker, so memory stays bounded whatever the page count.
template<typename Result>
class PageJobs
{
public:
    using Job = std::function<Result(int)>;

    // `job` runs on the workers and must touch nothing the GUI thread
    // changes. A `window` of 0 keeps one result ready beyond every worker.
    PageJobs(int count, Job job, int window = 0)
        : count(count)
        , job(std::move(job))
        , stopped(std::make_shared<std::atomic<bool>>(false))
    {
        pool.setMaxThreadCount(qMax(1, QThread::idealThreadCount()));
        this->window = window > 0 ? window : pool.maxThreadCount() + 1;
        futures.reserve(size_t(qMax(0, count)));
        // The workers start at once; the first take often finds its page ready.
        submitUpTo(qMin(count, this->window));
    }

    ~PageJobs() { stop(); }

    PageJobs(const PageJobs &) = delete;
    PageJobs &operator=(const PageJobs &) = delete;

    // The result of page `index`; pages are taken in order from 0. The
    // taker blocks until it is ready, so it is a worker thread unless the
    // page was started well before. Empty once stopped.
    std::optional<Result> take(int index)
    {
        submitUpTo(qMin(count, index + window));
        if (index < 0 || index >= int(futures.size()))
            return std::nullopt;
        QFuture<Result> future = futures[size_t(index)];
        future.waitForFinished();
        if (stopped->load() || future.isCanceled() || future.resultCount() == 0)
            return std::nullopt;
        Result result = future.result();
        futures[size_t(index)] = QFuture<Result>();
        return result;
    }

    // Pages not started are dropped; running ones finish before this returns.
    void stop()
    {
        stopped->store(true);
        pool.clear();
        pool.waitForDone();
    }

    bool isStopped() const { return stopped->load(); }

private:
    void submitUpTo(int end)
    {
        while (!stopped->load() && int(futures.size()) < end) {
            const int index = int(futures.size());
            auto promise = std::make_shared<QPromise<Result>>();
            futures.push_back(promise->future());
            promise->start();
            // A job dropped by stop() takes its promise along, which cancels
            // the future and wakes whoever waits for it.
            pool.start([promise, index, work = job, halt = stopped] {
                if (!halt->load())
                    promise->addResult(work(index));
                promise->finish();
            });
        }
    }

    int count;
    int window = 1;
    Job job;
    std::shared_ptr<std::atomic<bool>> stopped;
    QThreadPool pool;
    std::vector<QFuture<Result>> futures;
};
