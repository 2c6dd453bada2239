// A progress line on a terminal: shown only once the work has run longer than a delay,
// redrawn in place with a carriage return, erased when the work ends.
#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

class CProgressLine {
public:
    using Clock = std::function<double()>;  // seconds, monotonic

    // Shows nothing unless enabled (the stream is a terminal). Starts timing now.
    CProgressLine(std::ostream& out, bool enabled, Clock clock, double delaySeconds = 1.0);
    ~CProgressLine() { Finish(); }
    CProgressLine(const CProgressLine&) = delete;
    CProgressLine& operator=(const CProgressLine&) = delete;

    void Update(std::size_t done, std::size_t total);
    // Erases the line if it was shown.
    void Finish();

private:
    std::ostream& m_out;
    bool m_bEnabled;
    Clock m_clock;
    double m_start;
    double m_delay;
    double m_lastDrawn = -1;
    std::size_t m_nWidth = 0;  // bytes of the line on screen; 0 when nothing is shown
};
