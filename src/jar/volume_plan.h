// Where the volumes of a book end when each jar must stay within a size limit. The sizes
// come from outside (IVolumeSizes: exact, as the archive engine will write the jars); the
// decisions are made here, the same way for a real build and for a trial one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The parts first..end-1 are at hand (first < end); fits(last) tells whether one volume
// holding the parts first..last stays within the limit. Returns the last part of the
// volume that starts at first: end-1 when a volume of all of them fits, else a part `last`
// with fits(last) and !fits(last + 1), so the volume is within the limit and the next part
// would not have fitted; nothing when part first does not fit even alone.
//
// A volume's size grows with its parts but not strictly in step (its index is deflated as
// a whole), so the search assumes nothing of fits between the parts it asks about. It asks
// about O(log n) of them: end-1 and first, then steps doubling from first, then halving.
std::optional<std::size_t> LastPartOfVolume(std::size_t first, std::size_t end,
                                            const std::function<bool(std::size_t last)>& fits);

// The sizes of a book's jars, part by part as the parts are measured (in book order).
class IVolumeSizes {
public:
    virtual ~IVolumeSizes() = default;
    // What every jar holds before its parts, at the least.
    virtual std::uint64_t Base() const = 0;
    // Part `part`'s entry as entry `position` (0: 1.txt) of its volume.
    virtual std::uint64_t PartBytes(std::size_t part, std::size_t position) const = 0;
    // The jar of volume `volume` (from 1; 0: the book in one jar under its own name)
    // holding count parts from first; nothing when a jar cannot hold that many entries.
    virtual std::optional<std::uint64_t> JarBytes(std::size_t volume, std::size_t first, std::size_t count) = 0;
};

struct PlannedVolume {
    std::size_t volume = 0;  // from 1; 0: the whole book in one jar under its own name
    std::size_t first = 0;
    std::size_t count = 0;
    std::uint64_t bytes = 0;  // the jar's size
};

// Decides the volumes as the parts are measured, holding back only what it must: as soon as
// the waiting parts alone are over the limit, the volume that starts with the first of them
// ends among them (LastPartOfVolume). At the end a book that fits whole stays one jar.
class CVolumePlanner {
public:
    CVolumePlanner(IVolumeSizes& sizes, std::uint64_t limit) : m_sizes(sizes), m_limit(limit) {}

    // The next part was measured: the volumes it completes, in order.
    std::vector<PlannedVolume> PartMeasured();
    // No more parts: the rest of the volumes.
    std::vector<PlannedVolume> Finish();
    // The first part that fits no volume, even alone, once there is one; nothing is
    // planned after it.
    const std::optional<std::size_t>& TooLarge() const { return m_tooLarge; }

private:
    // Plans the volume that starts at m_first; false when its first part does not fit.
    bool Cut(std::vector<PlannedVolume>& planned);
    bool Fits(std::size_t volume, std::size_t count);

    IVolumeSizes& m_sizes;
    std::uint64_t m_limit;
    std::size_t m_measured = 0;
    std::size_t m_first = 0;  // the first part not in a volume yet
    std::uint64_t m_waitingBytes = 0;  // the entries of parts m_first.. as 1.txt, 2.txt, ...
    std::size_t m_volumes = 0;
    std::optional<std::size_t> m_tooLarge;
};

// The smallest limit under which a planner fed the parts' sizes (all `parts` of them
// measured) plans every part, above a limit known not to: the book builds with it and not
// with a byte less. Starts from `guess`, a limit likely to work, and plans on trial.
std::uint64_t SmallestWorkingLimit(IVolumeSizes& sizes, std::size_t parts, std::uint64_t failing,
                                   std::uint64_t guess);
