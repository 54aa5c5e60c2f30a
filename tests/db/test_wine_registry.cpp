// Finding the game's Location in a Wine prefix: the registry file's escapes,
// the key and value lookup, and the drive letter taken through dosdevices/.

#include "db/wine_prefixes.h"
#include "db/wine_registry.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace rostradb::wine {
namespace {

namespace fs = std::filesystem;

struct UnescapeCase {
    const char* escaped;
    const char* text;
};

TEST(WineRegistryText, UnescapesAsTheRegistryFileWrites)
{
    const UnescapeCase cases[] = {
        {R"(C:\\Games\\Fendra)", "C:\\Games\\Fendra"},
        {R"(say \"hi\")", "say \"hi\""},
        {R"(tab\there)", "tab\there"},
        {R"(caf\xe9)", "caf\xc3\xa9"},                      // one unit, fewer than four digits
        {R"(\x00e9t\x00e9)", "\xc3\xa9t\xc3\xa9"},          // four digits where a hex letter follows
        {R"(\xd83d\xde00)", "\xf0\x9f\x98\x80"},            // a surrogate pair is one character
        {R"(\xd83dx)", "\xef\xbf\xbdx"},                    // a lone surrogate is replaced
        {R"(\101\1012)", "AA2"},                            // octal, at most three digits
        {R"(odd\)", "odd\\"},                               // a backslash at the end stays
    };
    for (const auto& c : cases)
        EXPECT_EQ(unescape(c.escaped), c.text) << c.escaped;
}

constexpr const char* kSystemReg = R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win64

[Software\\Other] 1700000000
"Location"="C:\\Wrong"

[Software\\Quillmoor Ltd\\Fendra] 1700000001
#time=1d9a0c2b3e4f5a6
"Blob"=hex:00,01,02,\
  03,04
"Installed"=dword:00000001
"location"="C:\\Games\\Fendra"

[Software\\Quillmoor Ltd\\Fendra\\Patches] 1700000002
"Location"="C:\\Patches"
)";

struct LookupCase {
    const char* name;
    std::string_view text;
    std::string_view key;
    std::optional<std::string> expected;
};

TEST(WineRegistryText, FindsOnlyAStringValueOfTheKey)
{
    const std::string crlf = [] {
        std::string text;
        for (const char c : std::string_view(kSystemReg)) {
            if (c == '\n')
                text += '\r';
            text += c;
        }
        return text;
    }();
    const LookupCase cases[] = {
        {"names in other capitals", kSystemReg, "SOFTWARE\\quillmoor ltd\\FENDRA", "C:\\Games\\Fendra"},
        {"Windows line ends", crlf, kGameKey, "C:\\Games\\Fendra"},
        {"a sub-key is another key", kSystemReg, "Software\\Quillmoor Ltd\\Fendra\\Patches", "C:\\Patches"},
        {"missing key", kSystemReg, "Software\\Quillmoor Ltd", std::nullopt},
        {"expandable string, kept as stored", "[A]\n\"Location\"=str(2):\"%ProgramFiles%\\\\F\"\n", "A",
         "%ProgramFiles%\\F"},
        {"a number is not a folder", "[A]\n\"Location\"=dword:00000001\n", "A", std::nullopt},
        {"a list of strings is not a folder", "[A]\n\"Location\"=str(7):\"C:\\\\a\\0C:\\\\b\\0\"\n", "A",
         std::nullopt},
        {"an unterminated string is refused", "[A]\n\"Location\"=\"C:\\\\Games\n", "A", std::nullopt},
        {"an escaped quote in the name", "[A]\n\"Loc\\\"ation\"=\"no\"\n\"Location\"=\"yes\"\n", "A", "yes"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(findStringValue(c.text, c.key, kLocationValue), c.expected) << c.name;
}

// A prefix with drive c: linked to drive_c, as Wine makes it, holding the
// game in drive_c/Games/Fendra. The window looks into a Wine prefix only on
// Linux; on Windows it reads the registry itself, and such a prefix cannot
// even be built there ("c:" is no file name, and the links need rights a
// user seldom has), so only the registry text above is tested on Windows.
class WinePrefixTest : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifdef _WIN32
        GTEST_SKIP() << "Wine prefixes are looked into only on Linux";
#endif
        fs::create_directories(prefix / "dosdevices");
        fs::create_directories(prefix / "drive_c" / "Games" / "Fendra" / "data");
        fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
        game = fs::canonical(prefix / "drive_c" / "Games" / "Fendra");
    }

    void writeSystemReg(const std::string& text)
    {
        std::ofstream(prefix / "system.reg", std::ios::binary) << text;
    }

    test::TempDir dir;
    fs::path prefix = dir.path() / "wine";
    fs::path game;
};

TEST_F(WinePrefixTest, WindowsPathsLeadThroughTheDriveLinks)
{
    const struct {
        const char* windowsPath;
        std::optional<fs::path> expected;
    } cases[] = {
        {"C:\\Games\\Fendra", game},
        {"c:/Games/Fendra/", game},
        {"C:\\GAMES\\fendra", game}, // Windows ignores case; the disk does not
        {"C:\\Games\\.\\Other\\..\\Fendra", game},
        {"C:\\Games\\Missing", game.parent_path() / "Missing"}, // kept, so opening it reports the folder
        {"D:\\Games\\Fendra", std::nullopt},                     // no such drive in the prefix
        {"\\\\server\\share\\Fendra", std::nullopt},
        {"Games\\Fendra", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unixPathOf(prefix, c.windowsPath), c.expected) << c.windowsPath;
}

TEST_F(WinePrefixTest, GameLocationComesFromSystemReg)
{
    EXPECT_EQ(gameLocation(prefix), std::nullopt) << "no system.reg";

    writeSystemReg("[Software\\\\Quillmoor Ltd\\\\Fendra] 1\n\"Location\"=\"\"\n");
    EXPECT_EQ(gameLocation(prefix), std::nullopt) << "an empty value names no folder";

    // A 32-bit installer in a 64-bit prefix writes under Wow6432Node.
    writeSystemReg("[Software\\\\Wow6432Node\\\\Quillmoor Ltd\\\\Fendra] 1\n\"Location\"=\"C:\\\\Games\\\\Fendra\"\n");
    EXPECT_EQ(gameLocation(prefix), game);

    writeSystemReg(kSystemReg);
    EXPECT_EQ(gameLocation(prefix), game);
}

// Windows ignores the case of every letter that has one, so the installer
// may have written the path in capitals the disk does not have.
TEST_F(WinePrefixTest, PathPartsMatchWithoutRegardToTheCaseOfAnyLetter)
{
    const fs::path accented = prefix / "drive_c" / "Jeux Vid\xc3\xa9o" / "\xc5\x93uvres \xc3\xa9" "dition";
    fs::create_directories(accented);
    const fs::path canonicalAccented = fs::canonical(accented);
    const struct {
        const char* windowsPath;
        fs::path expected;
    } cases[] = {
        {"C:\\JEUX VID\xc3\x89O\\\xc5\x92UVRES \xc3\x89" "DITION", canonicalAccented}, // É, Œ
        {"C:\\jeux vid\xc3\xa9o\\\xc5\x93uvres \xc3\xa9" "dition", canonicalAccented},
        // E is no É: a folder that is not there is kept as written.
        {"C:\\JEUX VIDEO", canonicalAccented.parent_path().parent_path() / "JEUX VIDEO"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unixPathOf(prefix, c.windowsPath), c.expected) << c.windowsPath;
}

TEST(WinePrefixFiles, SteamLibrariesAndLutrisPrefixesAreRead)
{
    const char* vdf = "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/me/.local/share/Steam\"\n"
                      "\t\t\"label\"\t\t\"\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1000\"\n\t\t}\n\t}\n"
                      "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"/mnt/games/Steam \\\"B\\\"\"\n\t}\n"
                      "\t\"2\"\t\t\"/old/library\"\n}\n";
    EXPECT_EQ(steamLibraries(vdf), (std::vector<fs::path>{"/home/me/.local/share/Steam", "/mnt/games/Steam \"B\"",
                                                           "/old/library"}));
    const fs::path home = "/home/me";
    const struct {
        const char* yaml;
        fs::path expected;
    } cases[] = {
        {"game:\n  exe: drive_c/Fendra/fendra.exe\n  prefix: /home/me/Games/fendra\nsystem: {}\n", "/home/me/Games/fendra"},
        {"game:\n  prefix: '~/Games/my fendra'\n", "/home/me/Games/my fendra"},
        {"game:\n  prefix: \"/games/fendra\"\r\n", "/games/fendra"},
        {"game:\n  exe: fendra.exe\n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lutrisPrefix(c.yaml, home), c.expected) << c.yaml;
}

#ifndef _WIN32
// A game run by Steam's Proton: its prefix lies in a library that only
// libraryfolders.vdf names, and is found without any setting.
TEST_F(WinePrefixTest, ProtonLibrariesAreLookedInto)
{
    const fs::path home = dir.path() / "home";
    const fs::path library = dir.path() / "library";
    fs::create_directories(home / ".steam/steam/steamapps");
    std::ofstream(home / ".steam/steam/steamapps/libraryfolders.vdf")
        << "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" << library.string() << "\"\n\t}\n}\n";
    fs::create_directories(library / "steamapps/compatdata/4711");
    fs::rename(prefix, library / "steamapps/compatdata/4711/pfx");
    prefix = library / "steamapps/compatdata/4711/pfx";
    writeSystemReg(kSystemReg);
    const fs::path found = fs::canonical(prefix / "drive_c" / "Games" / "Fendra");

    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("WINEPREFIX");
    const std::vector<fs::path> locations = gameLocations();
    ::setenv("HOME", savedHome.c_str(), 1);
    EXPECT_EQ(locations, std::vector<fs::path>{found});
}
#endif

} // namespace
} // namespace rostradb::wine
