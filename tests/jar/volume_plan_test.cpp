// Where a volume ends: within the limit, and the next part would not have fitted.
#include "jar/volume_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// fits(first + i) is the pattern's character i: '+' a volume of parts first..first+i fits,
// '-' it does not. Patterns that fit again after not fitting stand for a deflated index
// that came out smaller with more titles: any boundary found is right then.
TEST(LastPartOfVolume, WithinTheLimitAndTheNextPartWouldNotFit)
{
    constexpr std::size_t kAnyBoundary = 99999;
    const struct {
        std::string fits;
        std::optional<std::size_t> last;  // from first
    } cases[] = {
        {"+", 0},
        {"-", std::nullopt},
        {"++++", 3},
        {"+---", 0},
        {"++--", 1},
        {"+++-", 2},
        {"---", std::nullopt},
        {std::string(1000, '+') + "-", 999},
        {std::string(37, '+') + std::string(1000, '-'), 36},
        {"--++", 3},  // all of them fit: one volume
        {std::string(300, '+') + std::string(700, '-') + "+", 1000},
        {"+-+-+-+--", kAnyBoundary},
        {"++-++-----", kAnyBoundary},
    };
    for (const auto& c : cases) {
        for (std::size_t first : {std::size_t {0}, std::size_t {5}}) {
            SCOPED_TRACE(c.fits.substr(0, 20) + " from " + std::to_string(first));
            std::size_t asked = 0;
            auto fits = [&](std::size_t last) {
                ++asked;
                EXPECT_GE(last, first);
                EXPECT_LT(last - first, c.fits.size());
                return c.fits[last - first] == '+';
            };
            const std::optional<std::size_t> last = LastPartOfVolume(first, first + c.fits.size(), fits);
            if (!c.last) {
                EXPECT_FALSE(last) << "the first part does not fit alone";
                continue;
            }
            ASSERT_TRUE(last);
            const std::size_t at = *last - first;
            EXPECT_EQ(c.fits[at], '+');
            if (at + 1 < c.fits.size()) {
                EXPECT_EQ(c.fits[at + 1], '-') << "the next part would have fitted";
            }
            if (*c.last != kAnyBoundary) {
                EXPECT_EQ(at, *c.last);
            }
            EXPECT_LE(asked, 2 + 2 * 11u) << "log2 of the parts, twice";
        }
    }
}

// Sizes of a made-up book: a jar is 100 bytes, its name's number one byte a digit, its
// index 2 bytes a title, and each part its own size plus one byte a digit of its entry's
// number.
class FakeSizes : public IVolumeSizes {
public:
    explicit FakeSizes(std::vector<std::uint64_t> parts) : m_parts(std::move(parts)) {}
    std::uint64_t Base() const override { return 100; }
    std::uint64_t PartBytes(std::size_t part, std::size_t position) const override
    {
        return m_parts[part] + std::to_string(position + 1).size();
    }
    std::optional<std::uint64_t> JarBytes(std::size_t volume, std::size_t first, std::size_t count) override
    {
        if (count > maxParts)
            return std::nullopt;
        std::uint64_t bytes = Base() + (volume ? std::to_string(volume).size() : 0) + 2 * count;
        for (std::size_t k = 0; k < count; ++k)
            bytes += PartBytes(first + k, k);
        return bytes;
    }
    std::size_t maxParts = 1000;

private:
    std::vector<std::uint64_t> m_parts;
};

struct Plan {
    std::vector<PlannedVolume> volumes;
    std::optional<std::size_t> tooLarge;
    std::uint64_t mostWaiting = 0;  // bytes of the parts measured and not in a volume, at the most
};

Plan PlanAll(FakeSizes& sizes, std::size_t parts, std::uint64_t limit)
{
    Plan plan;
    CVolumePlanner planner(sizes, limit);
    std::size_t planned = 0;
    for (std::size_t i = 0; i < parts; ++i) {
        for (const PlannedVolume& v : planner.PartMeasured()) {
            plan.volumes.push_back(v);
            planned += v.count;
        }
        std::uint64_t waiting = 0;
        for (std::size_t k = planned; k <= i; ++k)
            waiting += sizes.PartBytes(k, 0);
        plan.mostWaiting = std::max(plan.mostWaiting, waiting);
    }
    for (const PlannedVolume& v : planner.Finish())
        plan.volumes.push_back(v);
    plan.tooLarge = planner.TooLarge();
    return plan;
}

// The volumes follow each other from part 0 to the last, each within the limit with the
// next part over it, numbered from 1; while parts come in, no more wait than one volume
// can hold and one part more.
TEST(VolumePlanner, VolumesInOrderEachWithinTheLimit)
{
    std::vector<std::uint64_t> parts;
    for (unsigned i = 0; i < 40; ++i)
        parts.push_back(50 + i * 7919 % 400);
    const std::uint64_t largest = *std::max_element(parts.begin(), parts.end()) + 1;
    for (std::uint64_t limit : {700u, 1000u, 2500u}) {
        SCOPED_TRACE(limit);
        FakeSizes sizes(parts);
        const Plan plan = PlanAll(sizes, parts.size(), limit);
        ASSERT_FALSE(plan.tooLarge);
        std::size_t next = 0;
        for (std::size_t v = 0; v < plan.volumes.size(); ++v) {
            const PlannedVolume& volume = plan.volumes[v];
            EXPECT_EQ(volume.volume, v + 1);
            EXPECT_EQ(volume.first, next);
            EXPECT_EQ(volume.bytes, *sizes.JarBytes(volume.volume, volume.first, volume.count));
            EXPECT_LE(volume.bytes, limit);
            if (v + 1 < plan.volumes.size()) {
                EXPECT_GT(*sizes.JarBytes(volume.volume, volume.first, volume.count + 1), limit);
            }
            next += volume.count;
        }
        EXPECT_EQ(next, parts.size());
        EXPECT_LE(plan.mostWaiting, limit + largest);
    }
}

TEST(VolumePlanner, AWholeBookWithinTheLimitIsOneJarUnderItsOwnName)
{
    FakeSizes sizes({10, 20, 30});
    const std::uint64_t whole = *sizes.JarBytes(0, 0, 3);
    Plan plan = PlanAll(sizes, 3, whole);
    ASSERT_EQ(plan.volumes.size(), 1u);
    EXPECT_EQ(plan.volumes[0].volume, 0u);
    EXPECT_EQ(plan.volumes[0].count, 3u);
    plan = PlanAll(sizes, 3, whole - 1);
    EXPECT_EQ(plan.volumes.size(), 2u);
    EXPECT_EQ(plan.volumes[0].volume, 1u);
}

// A jar holds only so many entries: a volume ends there too.
TEST(VolumePlanner, AVolumeEndsWhereAJarHoldsNoMoreEntries)
{
    FakeSizes sizes(std::vector<std::uint64_t>(10, 1));
    sizes.maxParts = 4;
    const Plan plan = PlanAll(sizes, 10, 100000);
    ASSERT_EQ(plan.volumes.size(), 3u);
    EXPECT_EQ(plan.volumes[0].count, 4u);
    EXPECT_EQ(plan.volumes[2].count, 2u);
}

// A part that fits no volume stops the plan; the smallest limit that works is the one under
// which the plan goes through, and not a byte below it.
TEST(VolumePlanner, APartTooLargeAndTheSmallestLimitThatWorks)
{
    std::vector<std::uint64_t> parts(30, 100);
    parts[8] = 900;
    parts[20] = 950;
    FakeSizes sizes(parts);
    const Plan plan = PlanAll(sizes, parts.size(), 800);
    EXPECT_EQ(plan.tooLarge, std::optional<std::size_t> {8});
    for (const PlannedVolume& v : plan.volumes)
        EXPECT_LT(v.first + v.count, 9u) << "nothing planned after the part";

    for (std::uint64_t guess : {std::uint64_t {801}, std::uint64_t {1065}, std::uint64_t {5000}}) {
        const std::uint64_t smallest = SmallestWorkingLimit(sizes, parts.size(), 800, guess);
        EXPECT_FALSE(PlanAll(sizes, parts.size(), smallest).tooLarge) << guess;
        EXPECT_TRUE(PlanAll(sizes, parts.size(), smallest - 1).tooLarge) << guess;
    }
}

} // namespace
