// The command line of rostradb-sample: what it accepts and what it refuses.

#include "tools/sample_arguments.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string_view>
#include <vector>

namespace rostradb {
namespace {

using Args = std::vector<std::string_view>;

TEST(SampleArgumentsTest, AcceptsFolderSizeSeedAndForceInAnyOrder)
{
    struct Case {
        Args args;
        SampleSize size;
        std::uint64_t seed;
        bool force;
    };
    const std::vector<Case> cases = {
        {{"game"}, SampleSize::Small, 1, false},
        {{"game", "--size", "tiny"}, SampleSize::Tiny, 1, false},
        {{"--size", "full", "game"}, SampleSize::Full, 1, false},
        {{"--seed", "0", "game", "--size", "small"}, SampleSize::Small, 0, false},
        {{"game", "--seed", "18446744073709551615"}, SampleSize::Small, 18446744073709551615ull, false},
        {{"game", "--size", "tiny", "--size", "full"}, SampleSize::Full, 1, false}, // the last one counts
        {{"--force", "game"}, SampleSize::Small, 1, true},
        {{"game", "--seed", "9", "--force", "--size", "tiny"}, SampleSize::Tiny, 9, true},
    };
    for (const Case& c : cases) {
        const SampleArguments parsed = parseSampleArguments(c.args);
        EXPECT_EQ(parsed.gameDir, "game");
        EXPECT_EQ(parsed.size, c.size);
        EXPECT_EQ(parsed.seed, c.seed);
        EXPECT_EQ(parsed.force, c.force);
        EXPECT_FALSE(parsed.help);
    }
}

TEST(SampleArgumentsTest, HelpNeedsNoFolder)
{
    EXPECT_TRUE(parseSampleArguments(Args{"--help"}).help);
    EXPECT_TRUE(parseSampleArguments(Args{"game", "-h", "--bogus"}).help);
    EXPECT_TRUE(parseSampleArguments(Args{"--version"}).version);
}

TEST(SampleArgumentsTest, RefusesBadArgumentsWithAMessage)
{
    const std::vector<Args> cases = {
        {},
        {"--size", "tiny"},
        {"game", "other"},
        {"game", "--size"},
        {"game", "--seed"},
        {"game", "--size", "huge"},
        {"game", "--size", "Tiny"},
        {"game", "--seed", "-1"},
        {"game", "--seed", "12x"},
        {"game", "--seed", ""},
        {"game", "--seed", "18446744073709551616"},
        {"game", "--verbose"},
        {"game", "--size=tiny"},
        {"game", "--force=yes"},
        {"game", "--forced"},
    };
    for (const Args& args : cases) {
        std::string joined;
        for (std::string_view a : args)
            joined += std::string(a) + " ";
        SCOPED_TRACE(joined);
        try {
            parseSampleArguments(args);
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_STRNE(e.what(), "");
        }
    }
}

} // namespace
} // namespace rostradb
