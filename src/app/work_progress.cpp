#include "app/work_progress.h"

#include <algorithm>

namespace {

unsigned Permille(double fraction) { return static_cast<unsigned>(std::clamp(fraction, 0.0, 1.0) * 1000.0); }

} // namespace

void CWorkProgress::Check() const
{
    if (m_cancelled)
        throw WorkCancelled {};
}

void CWorkProgress::Report(const std::string& step, std::size_t done, std::size_t total)
{
    ReportWithin(step, 0, 1, done, total);
}

void CWorkProgress::ReportWithin(const std::string& step, std::size_t index, std::size_t count, std::size_t done,
                                 std::size_t total)
{
    Check();
    const double within = total ? static_cast<double>(done) / static_cast<double>(total) : 0.0;
    const double whole = count ? (static_cast<double>(index) + std::min(within, 1.0)) / static_cast<double>(count) : 0.0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_step = step;
        m_permille = Permille(whole);
    }
    if (m_watcher)
        m_watcher(Snapshot {step, Permille(whole), IsCancelled()});
}

CWorkProgress::Snapshot CWorkProgress::Read() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return {m_step, m_permille, m_cancelled};
}
