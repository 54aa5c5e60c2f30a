#pragma once
// The game stores text in the single-byte Windows-1252 code page. The
// database keeps the bytes; only the window edge converts them.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// Bytes of the game's text to a QString, every byte to exactly one character
// (the five bytes Windows-1252 leaves undefined map to U+0081, U+008D,
// U+008F, U+0090 and U+009D, so the mapping is one to one).
QString fromGameText(std::string_view bytes);

// A QString back to the game's bytes; nullopt when it holds a character the
// code page cannot express (such text names nothing in the game's files).
std::optional<std::string> toGameText(const QString& text);
