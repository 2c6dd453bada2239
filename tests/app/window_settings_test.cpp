#include "app/window_settings.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowSettings, DefaultsForWhatIsMissingOrNotUnderstood)
{
    const struct {
        SettingValues values;
        bool byChapters;
    } cases[] = {
        {{}, false},
        {{{"SplitByChapters", "1"}}, true},
        {{{"SplitByChapters", "0"}}, false},
        {{{"SplitByChapters", "yes"}}, false},
        {{{"Other", "1"}}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseWindowSettings(c.values).byChapters, c.byChapters);
}

TEST(WindowSettings, WrittenAsTheyAreRead)
{
    for (bool byChapters : {false, true}) {
        const SettingValues values = FormatWindowSettings(WindowSettings {byChapters});
        EXPECT_EQ(values.at("SplitByChapters"), byChapters ? "1" : "0");
        EXPECT_EQ(ParseWindowSettings(values).byChapters, byChapters);
    }
}

} // namespace
