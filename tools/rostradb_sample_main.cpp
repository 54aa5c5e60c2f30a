// rostradb-sample: writes a synthetic game installation to try the editor on.

#include "db/data_file.h"
#include "sample_arguments.h"
#include "sample_game.h"

#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

int main(int argc, char* argv[])
{
    const std::vector<std::string> utf8Args = rostradb::commandLineArguments(argc, argv);
    const std::vector<std::string_view> args(utf8Args.begin(), utf8Args.end());
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
    if (parsed.version) {
        std::cout << "rostradb-sample " ROSTRADB_VERSION "\n";
        return 0;
    }
    try {
        // Checked before the first file is written, so that a refusal leaves
        // the folder exactly as it was.
        const std::vector<std::string> existing = rostradb::existingSampleGameFiles(parsed.gameDir);
        if (!existing.empty() && !parsed.force) {
            std::string names;
            for (const std::string& name : existing)
                names += (names.empty() ? "" : ", ") + name;
            std::cerr << "rostradb-sample: " << (parsed.gameDir / "data").string() << " already holds " << names
                      << "; nothing was written. Give --force to replace those files.\n";
            return 1;
        }
        rostradb::writeSampleGame(parsed.gameDir, parsed.size, parsed.seed);
    } catch (const std::exception& e) {
        std::cerr << "rostradb-sample: " << e.what() << "\n";
        return 1;
    }
    std::cout << "Sample game written to " << (parsed.gameDir / "data").string() << "\n";
    return 0;
}
