#pragma once
// The command line of rostradb-sample:
//   rostradb-sample DIR [--size tiny|small|full] [--seed N] [--force]
// Kept apart from main() so that its checks can be tested.

#include "sample_game.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace rostradb {

struct SampleArguments {
    std::filesystem::path gameDir;
    SampleSize size = SampleSize::Small;
    std::uint64_t seed = 1;
    bool force = false; // --force: replace the game files DIR/data/ already holds
    bool help = false;  // --help or -h: print the usage and do nothing else
    bool version = false; // --version: print the version and do nothing else
};

// `args` excludes the program name. Throws std::invalid_argument with a
// message for the user on a missing or unknown argument or a bad value.
SampleArguments parseSampleArguments(std::span<const std::string_view> args);

inline constexpr std::string_view kSampleUsageLine =
    "Usage: rostradb-sample DIR [--size tiny|small|full] [--seed N] [--force]\n";

inline constexpr std::string_view kSampleHelp =
    "\n"
    "Writes a synthetic game into DIR/data/ (index.dat, nation.dat, first_names.dat,\n"
    "second_names.dat, common_names.dat, club.dat, staff.dat). Open DIR in rostradb\n"
    "to try the editor. When DIR/data/ already holds any of those files, nothing is\n"
    "written and the exit status is 1, so that a real game is never overwritten.\n"
    "\n"
    "  --size tiny|small|full  tiny: a dozen people; small (default): about 2,000;\n"
    "                          full: 65,536, the largest the editor handles\n"
    "  --seed N                a number from 0 to 18446744073709551615 (default 1);\n"
    "                          the same size and seed always give the same files\n"
    "  --force                 replace the files DIR/data/ already holds\n"
    "  --help                  show this text\n"
    "  --version               show the version\n";

} // namespace rostradb
