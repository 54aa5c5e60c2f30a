#include "sample_arguments.h"

#include <charconv>
#include <stdexcept>
#include <string>

namespace rostradb {
namespace {

SampleSize parseSize(std::string_view text)
{
    if (text == "tiny")
        return SampleSize::Tiny;
    if (text == "small")
        return SampleSize::Small;
    if (text == "full")
        return SampleSize::Full;
    throw std::invalid_argument("unknown size \"" + std::string(text) + "\" (use tiny, small or full)");
}

std::uint64_t parseSeed(std::string_view text)
{
    std::uint64_t seed = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seed);
    if (text.empty() || error != std::errc() || stop != end)
        throw std::invalid_argument("seed \"" + std::string(text) + "\" is not a number from 0 to "
                                    "18446744073709551615");
    return seed;
}

} // namespace

SampleArguments parseSampleArguments(std::span<const std::string_view> args)
{
    SampleArguments parsed;
    bool haveDir = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            return parsed;
        }
        if (arg == "--version") {
            parsed.version = true;
            return parsed;
        }
        if (arg == "--force") {
            parsed.force = true;
            continue;
        }
        if (arg == "--size" || arg == "--seed") {
            if (i + 1 == args.size())
                throw std::invalid_argument(std::string(arg) + " needs a value");
            const std::string_view value = args[++i];
            if (arg == "--size")
                parsed.size = parseSize(value);
            else
                parsed.seed = parseSeed(value);
            continue;
        }
        if (arg.starts_with("-") && arg != "-")
            throw std::invalid_argument("unknown option " + std::string(arg));
        if (haveDir)
            throw std::invalid_argument("more than one game folder given (" + std::string(arg) + ")");
        // UTF-8, whatever the system's own narrow encoding is (on Windows
        // the ANSI code page).
        parsed.gameDir = std::filesystem::path(std::u8string(arg.begin(), arg.end()));
        haveDir = true;
    }
    if (!haveDir)
        throw std::invalid_argument("no game folder given");
    return parsed;
}

} // namespace rostradb
