// rostradb-sample: writes a synthetic game installation to try the editor on.

#include "sample_arguments.h"
#include "sample_game.h"

#include <exception>
#include <iostream>
#include <stdexcept>
#include <string_view>
#include <vector>

int main(int argc, char* argv[])
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    rostradb::SampleArguments parsed;
    try {
        parsed = rostradb::parseSampleArguments(args);
    } catch (const std::invalid_argument& e) {
        std::cerr << "rostradb-sample: " << e.what() << "\n"
                  << rostradb::kSampleUsageLine << "Try 'rostradb-sample --help' for more.\n";
        return 2;
    }
    if (parsed.help) {
        std::cout << rostradb::kSampleUsageLine << rostradb::kSampleHelp;
        return 0;
    }
    try {
        rostradb::writeSampleGame(parsed.gameDir, parsed.size, parsed.seed);
    } catch (const std::exception& e) {
        std::cerr << "rostradb-sample: " << e.what() << "\n";
        return 1;
    }
    std::cout << "Sample game written to " << (parsed.gameDir / "data").string() << "\n";
    return 0;
}
