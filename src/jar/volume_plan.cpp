#include "jar/volume_plan.h"

#include <algorithm>

namespace {

// Halves the gap between below (where holds) and above (where it does not) until they are
// neighbours: then holds(below) and !holds(below + 1). Returns below.
template <class Number, class Holds>
Number CloseIn(Number below, Number above, Holds holds)
{
    while (above - below > 1) {
        const Number middle = below + (above - below) / 2;
        if (holds(middle))
            below = middle;
        else
            above = middle;
    }
    return below;
}

} // namespace

std::optional<std::size_t> LastPartOfVolume(std::size_t first, std::size_t end,
                                            const std::function<bool(std::size_t last)>& fits)
{
    if (fits(end - 1))
        return end - 1;
    if (!fits(first))
        return std::nullopt;
    // Invariant: fits(fitting) and !fits(tooMany); they close in until they are neighbours.
    std::size_t fitting = first, tooMany = end - 1;
    for (std::size_t step = 1; fitting + step < tooMany; step *= 2) {
        if (!fits(fitting + step)) {
            tooMany = fitting + step;
            break;
        }
        fitting += step;
    }
    return CloseIn(fitting, tooMany, fits);
}

bool CVolumePlanner::Fits(std::size_t volume, std::size_t count)
{
    const std::optional<std::uint64_t> bytes = m_sizes.JarBytes(volume, m_first, count);
    return bytes && *bytes <= m_limit;
}

std::vector<PlannedVolume> CVolumePlanner::PartMeasured()
{
    const std::size_t part = m_measured++;
    std::vector<PlannedVolume> planned;
    if (m_tooLarge)
        return planned;
    m_waitingBytes += m_sizes.PartBytes(part, part - m_first);
    while (m_first < m_measured && m_sizes.Base() + m_waitingBytes > m_limit) {
        if (!Cut(planned))
            break;
    }
    return planned;
}

std::vector<PlannedVolume> CVolumePlanner::Finish()
{
    std::vector<PlannedVolume> planned;
    if (m_tooLarge)
        return planned;
    if (m_volumes == 0 && Fits(0, m_measured)) {
        planned.push_back({0, 0, m_measured, *m_sizes.JarBytes(0, 0, m_measured)});
        m_first = m_measured;
        return planned;
    }
    while (m_first < m_measured) {
        if (!Cut(planned))
            break;
    }
    return planned;
}

bool CVolumePlanner::Cut(std::vector<PlannedVolume>& planned)
{
    const std::size_t volume = m_volumes + 1;
    const std::optional<std::size_t> last =
        LastPartOfVolume(m_first, m_measured, [&](std::size_t l) { return Fits(volume, l - m_first + 1); });
    if (!last) {
        m_tooLarge = m_first;
        return false;
    }
    const std::size_t count = *last - m_first + 1;
    planned.push_back({volume, m_first, count, *m_sizes.JarBytes(volume, m_first, count)});
    ++m_volumes;
    m_first += count;
    m_waitingBytes = 0;
    for (std::size_t part = m_first; part < m_measured; ++part)
        m_waitingBytes += m_sizes.PartBytes(part, part - m_first);
    return true;
}

std::uint64_t SmallestWorkingLimit(IVolumeSizes& sizes, std::size_t parts, std::uint64_t failing,
                                   std::uint64_t guess)
{
    auto works = [&](std::uint64_t limit) {
        CVolumePlanner planner(sizes, limit);
        for (std::size_t i = 0; i < parts && !planner.TooLarge(); ++i)
            planner.PartMeasured();
        planner.Finish();
        return !planner.TooLarge();
    };
    // Find a limit that works and one below it that does not, closing in from the guess
    // with doubling steps, then halve the gap.
    std::uint64_t working = std::max(guess, failing + 1), notWorking = failing;
    for (std::uint64_t step = 1; !works(working); step *= 2) {
        notWorking = working;
        working += step;
    }
    for (std::uint64_t step = 1; step < working - notWorking; step *= 2) {
        if (!works(working - step)) {
            notWorking = working - step;
            break;
        }
        working -= step;
    }
    return CloseIn(notWorking, working, [&](std::uint64_t limit) { return !works(limit); }) + 1;
}
