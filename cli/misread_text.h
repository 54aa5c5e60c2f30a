#pragma once
// Texts a spreadsheet read in the wrong character set, and cell texts made
// fit to quote in a message.
//
// A spreadsheet that opens our UTF-8 file as Windows-1252 shows every byte
// of an accented letter as a character of its own ("StanhÃ©im" for
// "Stanhéim", "ï»¿" for the byte order mark) and saves that back as UTF-8.
// Import recognises such a text and says so once, with the fix, instead of
// reporting every changed name.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb::cli {

// Whether `cell` is the game's text (Windows-1252 bytes) in UTF-8 with each
// of its bytes taken for a Windows-1252 character. The five bytes the code
// page leaves undefined come back as their C1 control, as U+FFFD or as '?',
// depending on the program that read them.
bool isMisreadUtf8(std::string_view gameText, std::string_view cell);

// The text that `cell` (UTF-8) stood for before such a misreading, when it
// is one: its characters taken back to Windows-1252 bytes that form UTF-8
// with at least one character beyond ASCII. A leading byte order mark is
// left out ("ï»¿position" stood for "position").
std::optional<std::string> textBeforeMisreading(std::string_view cell);

// The display names and texts of a file that differ from the game's,
// collected row by row and said at the end. When every one of them is the
// game's text read in the wrong character set, the cause is one, and so is
// the message: "the spreadsheet read the file in the wrong character set:
// open it as UTF-8 (...)", at the first of them.
class ChangedTexts {
public:
    // A cell that differs from the game's text (Windows-1252 bytes); `what`
    // says why that is refused, for when the cause is not the character set.
    void add(std::size_t line, std::string column, std::string_view cell, std::string_view gameText, std::string what);
    // A cell known to be a misreading of `meant` (a header's column name).
    void addMisread(std::size_t line, std::string column, std::string_view cell, std::string_view meant);

    struct Message {
        std::size_t line;
        std::string column;
        std::string what;
    };
    std::vector<Message> messages() const;

private:
    struct Changed {
        Message message;
        bool misread;
    };
    std::vector<Changed> changed_;
    struct Misread {
        std::string cell;
        std::string meant;
    };
    std::optional<Misread> firstMisread_;
};

// The text as it can stand in a one-line message: a CR and the other control
// characters but LF and tab written as \r or \xNN.
std::string shownInMessage(std::string_view text);

} // namespace rostradb::cli
