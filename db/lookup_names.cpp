#include "lookup_names.h"

#include "cp1252_text.h"
#include "errors.h"

#include <algorithm>
#include <cstdio>

namespace rostradb {

namespace {

template <class Db, class Use>
decltype(auto) withTable(Db& db, LookupTable table, Use use)
{
    switch (table) {
    case LookupTable::FirstNames:
        return use(db.firstNames);
    case LookupTable::SecondNames:
        return use(db.secondNames);
    case LookupTable::CommonNames:
        return use(db.commonNames);
    case LookupTable::Clubs:
        return use(db.clubs);
    case LookupTable::Nations:
        break;
    }
    return use(db.nations);
}

template <class Db>
auto fieldOf(Db& db, const NameKey& key)
{
    return withTable(db, key.table, [&](auto& records) {
        auto& record = recordAt(records, key.position);
        using Record = std::remove_cvref_t<decltype(record)>;
        return std::span<std::remove_reference_t<decltype(record.bytes[0])>, kNameFieldBytes>(
            record.bytes.data() + Record::kNameOffset, kNameFieldBytes);
    });
}

std::string codePointName(std::int64_t c)
{
    char number[24];
    std::snprintf(number, sizeof number, "U+%04llX", static_cast<unsigned long long>(c));
    return number;
}

} // namespace

std::size_t lookupCount(const GameDatabase& db, LookupTable table)
{
    return withTable(db, table, [](const auto& records) { return records.size(); });
}

std::span<std::uint8_t, kNameFieldBytes> nameBytes(GameDatabase& db, const NameKey& key) { return fieldOf(db, key); }

std::span<const std::uint8_t, kNameFieldBytes> nameBytes(const GameDatabase& db, const NameKey& key)
{
    return fieldOf(db, key);
}

NameField fileNameField(const GameDatabase& db, const NameKey& key)
{
    const auto& kept = db.namesInFile[static_cast<std::size_t>(key.table)];
    if (const auto it = kept.find(key.position); it != kept.end())
        return it->second;
    NameField field;
    const auto bytes = nameBytes(db, key);
    std::copy(bytes.begin(), bytes.end(), field.begin());
    return field;
}

NameField withNameText(const NameField& field, std::string_view text)
{
    NameField result = field;
    std::copy(text.begin(), text.end(), result.begin());
    if (text.size() < kNameFieldBytes)
        result[text.size()] = 0;
    return result;
}

std::string nameTextFromUtf8(std::string_view utf8)
{
    std::string bytes;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const std::int64_t c = nextUtf8CodePoint(utf8, at);
        if (c < 0)
            throw DbError("The name is not UTF-8 text");
        if (c == 0)
            throw DbError("A name cannot hold the character U+0000");
        const int byte = cp1252ByteFor(static_cast<char32_t>(c));
        if (byte < 0)
            throw DbError("The character \"" + std::string(utf8.substr(start, at - start)) + "\" (" + codePointName(c) +
                          ") is not in the game's character set (Windows-1252)");
        bytes += static_cast<char>(byte);
    }
    if (bytes.size() > kNameFieldBytes)
        throw DbError("The name is " + std::to_string(bytes.size()) + " bytes long; a name holds at most " +
                      std::to_string(kNameFieldBytes));
    return bytes;
}

void storeNameField(GameDatabase& db, const NameKey& key, const NameField& field)
{
    const auto bytes = nameBytes(db, key);
    auto& kept = db.namesInFile[static_cast<std::size_t>(key.table)];
    if (!kept.contains(key.position)) {
        NameField inFile;
        std::copy(bytes.begin(), bytes.end(), inFile.begin());
        if (inFile == field)
            return;
        kept.emplace(key.position, inFile);
    }
    std::copy(field.begin(), field.end(), bytes.begin());
    // Back to the file's bytes: nothing left to save for this name.
    if (const auto it = kept.find(key.position); it->second == field)
        kept.erase(it);
}

const char* lookupWord(LookupTable table)
{
    switch (table) {
    case LookupTable::FirstNames:
        return "first name";
    case LookupTable::SecondNames:
        return "second name";
    case LookupTable::CommonNames:
        return "common name";
    case LookupTable::Clubs:
        return "club";
    case LookupTable::Nations:
        break;
    }
    return "nation";
}

} // namespace rostradb
