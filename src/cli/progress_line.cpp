#include "cli/progress_line.h"

#include <algorithm>

CProgressLine::CProgressLine(std::ostream& out, bool enabled, Clock clock, double delaySeconds)
    : m_out(out), m_bEnabled(enabled), m_clock(std::move(clock)), m_start(m_clock()), m_delay(delaySeconds)
{
}

void CProgressLine::Update(std::size_t done, std::size_t total)
{
    if (!m_bEnabled)
        return;
    const double now = m_clock();
    if (now - m_start < m_delay)
        return;
    // A terminal cannot show more than a few redraws a second anyway.
    if (m_lastDrawn >= 0 && now - m_lastDrawn < 0.1 && done != total)
        return;
    m_lastDrawn = now;
    const std::string line = "正在生成电子书：" + std::to_string(done) + "/" + std::to_string(total);
    std::string padding;
    if (line.size() < m_nWidth)
        padding.assign(m_nWidth - line.size(), ' ');
    m_out << '\r' << line << padding << std::flush;
    m_nWidth = std::max(m_nWidth, line.size());
}

void CProgressLine::Finish()
{
    if (m_nWidth == 0)
        return;
    m_out << '\r' << std::string(m_nWidth, ' ') << '\r' << std::flush;
    m_nWidth = 0;
}
