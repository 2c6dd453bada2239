// What a long command (adding sources, generating) shares between the worker thread that
// does it and the window that shows it: what is being done, how far it is, and whether the
// user asked to stop. The worker reports and checks; the window reads and cancels. Every
// member may be called from either thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>

// Thrown by CWorkProgress::Check once the user cancelled. Deliberately outside the
// CException and std::exception families: the handlers that report a source's or a
// build's failure let it pass on to the one place that ends the work.
struct WorkCancelled {};

class CWorkProgress {
public:
    struct Snapshot {
        std::string step;          // the file or book being worked on, as the user reads it
        unsigned permille = 0;     // 0..1000 of the whole work
        bool cancelled = false;
    };

    // Throws WorkCancelled once Cancel was called; the worker calls it at every report.
    void Check() const;
    // The step (a file, a volume) and how far the whole work is: done of total (total 0: 0).
    void Report(const std::string& step, std::size_t done, std::size_t total);
    // As Report, within a step that is `index` of `count` equal steps and itself done of
    // total: the share of the whole is (index + done / total) / count.
    void ReportWithin(const std::string& step, std::size_t index, std::size_t count, std::size_t done,
                      std::size_t total);

    // Called on the worker after each report, with what it reported; tests hold the work
    // there. Set before the work starts.
    void WatchReports(std::function<void(const Snapshot&)> watcher) { m_watcher = std::move(watcher); }

    void Cancel() { m_cancelled = true; }
    bool IsCancelled() const { return m_cancelled; }
    Snapshot Read() const;

private:
    mutable std::mutex m_mutex;
    std::string m_step;
    unsigned m_permille = 0;
    std::atomic<bool> m_cancelled {false};
    std::function<void(const Snapshot&)> m_watcher;
};
