#include "patch_apply.h"

#include "db/cp1252_text.h"
#include "db/errors.h"
#include "editor/name_changes.h"
#include "editor/people_columns.h"
#include "table_csv.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace rostradb::cli {

namespace {

// A field of the table by the name its layout gives it.
const PeopleColumn* fieldNamed(StaffTable table, std::string_view name)
{
    for (std::uint16_t f = 0; f < fieldCount(table); ++f)
        if (name == fieldName(table, f))
            return &fieldColumn(table, f);
    return nullptr;
}

class PatchReader {
public:
    PatchReader(const GameDatabase& db, const std::string& fileName) : db_(db), describer_(db), fileName_(fileName) {}

    PatchPlan run(std::string_view text)
    {
        nlohmann::json patch;
        try {
            patch = nlohmann::json::parse(text);
        } catch (const nlohmann::json::exception& e) {
            // Not only syntax: a number too large for a double (1E400) is
            // the reader's out_of_range error.
            plan_.errors.push_back(fileName_ + ": not valid JSON: " + e.what());
            return std::move(plan_);
        }
        if (!patch.is_array()) {
            plan_.errors.push_back(fileName_ + ": a patch is an array of changes");
            return std::move(plan_);
        }
        for (std::size_t i = 0; i < patch.size(); ++i)
            readChange(patch[i], i + 1);
        if (!plan_.errors.empty()) {
            plan_.conflicts.clear();
            plan_.changes.clear();
        }
        if (!plan_.errors.empty())
            plan_.renames.clear();
        sortChanges(plan_.changes);
        std::sort(plan_.renames.begin(), plan_.renames.end(),
                  [](const NameChange& a, const NameChange& b) { return a.key < b.key; });
        return std::move(plan_);
    }

private:
    void error(std::size_t number, const std::string& what)
    {
        plan_.errors.push_back(fileName_ + ": change " + std::to_string(number) + ": " + what);
    }

    std::optional<std::int64_t> integerMember(const nlohmann::json& change, const char* key, std::size_t number)
    {
        const auto found = change.find(key);
        if (found == change.end() || !found->is_number_integer()) {
            error(number, std::string("\"") + key + "\" must be a whole number");
            return std::nullopt;
        }
        if (found->is_number_unsigned()) {
            const auto value = found->get<std::uint64_t>();
            // Larger than any field holds: out of range in any case.
            return value > (std::uint64_t{1} << 62) ? std::int64_t{1} << 62 : static_cast<std::int64_t>(value);
        }
        return found->get<std::int64_t>();
    }

    std::optional<std::uint32_t> fieldValue(const nlohmann::json& change, const char* key, const PeopleColumn& field,
                                            std::size_t number)
    {
        const std::optional<std::int64_t> value = integerMember(change, key, number);
        if (!value)
            return std::nullopt;
        const std::optional<std::uint32_t> bits = bitsForNumber(field, *value);
        if (!bits)
            error(number, std::string("\"") + key + "\" " + std::to_string(*value) + " is out of range: " +
                              fieldName(field.table, field.field) + " " + rangeText(field));
        return bits;
    }

    void readChange(const nlohmann::json& change, std::size_t number)
    {
        if (!change.is_object()) {
            error(number, "a change is an object with \"table\", \"position\", \"field\", \"old\" and \"new\"");
            return;
        }
        const auto tableMember = change.find("table");
        const auto fieldMember = change.find("field");
        if (tableMember == change.end() || !tableMember->is_string()) {
            error(number, "\"table\" must be \"staff\", \"player\" or \"nonPlayer\"");
            return;
        }
        if (const auto lookup = lookupTableNamed(tableMember->get<std::string>())) {
            readRename(change, *lookup, number);
            return;
        }
        const std::optional<StaffTable> table = tableNamed(tableMember->get<std::string>());
        if (!table) {
            error(number, "unknown table \"" + tableMember->get<std::string>() + "\"");
            return;
        }
        if (fieldMember == change.end() || !fieldMember->is_string()) {
            error(number, "\"field\" must be the name of a field");
            return;
        }
        const PeopleColumn* field = fieldNamed(*table, fieldMember->get<std::string>());
        if (!field) {
            error(number, "the " + std::string(tableName(*table)) + " table has no field \"" +
                              fieldMember->get<std::string>() + "\"");
            return;
        }
        const std::optional<std::int64_t> position = integerMember(change, "position", number);
        if (!position)
            return;
        const std::size_t count = recordCount(db_, *table);
        if (*position < 0 || static_cast<std::uint64_t>(*position) >= count) {
            error(number, "position " + std::to_string(*position) + " lies outside the " +
                              std::string(tableName(*table)) + " table (" + std::to_string(count) + " records)");
            return;
        }
        const auto at = static_cast<std::size_t>(*position);
        const std::optional<std::uint32_t> oldBits = fieldValue(change, "old", *field, number);
        const std::optional<std::uint32_t> newBits = fieldValue(change, "new", *field, number);
        if (!oldBits || !newBits)
            return;

        const ValueKey key{*table, static_cast<std::uint32_t>(at), field->field};
        const std::string fieldText = fieldName(*table, field->field);
        const std::uint32_t current = currentValue(db_, key);
        if (*newBits != current && !field->writable) {
            error(number, describer_.recordText(*table, at) + " " + fieldText +
                              " cannot be changed: the staff file keeps its own bytes there");
            return;
        }
        if (const auto seen = newValues_.find(key); seen != newValues_.end()) {
            if (seen->second.bits != *newBits)
                error(number, describer_.recordText(*table, at) + " " + fieldText +
                                  ": change " + std::to_string(seen->second.number) + " gives it another new value");
            return;
        }
        newValues_.emplace(key, Seen{*newBits, number});

        if (*oldBits != current)
            plan_.conflicts.push_back(describer_.recordText(*table, at) + " " + fieldText + ": the patch expects " +
                                      formatValue(key, *oldBits) + ", the game holds " + formatValue(key, current));
        if (*newBits != current)
            plan_.changes.push_back({key, current, *newBits});
    }

    // A rename of a nation, name or club record: "field" is "name", "old"
    // and "new" are texts.
    void readRename(const nlohmann::json& change, LookupTable table, std::size_t number)
    {
        const auto field = change.find("field");
        if (field == change.end() || *field != "name") {
            error(number, "the only field of a " + std::string(lookupWord(table)) + " is \"name\"");
            return;
        }
        const std::optional<std::int64_t> position = integerMember(change, "position", number);
        if (!position)
            return;
        const std::size_t count = lookupCount(db_, table);
        if (*position < 0 || static_cast<std::uint64_t>(*position) >= count) {
            error(number, "position " + std::to_string(*position) + " lies outside the " + lookupWord(table) +
                              " table (" + std::to_string(count) + " records)");
            return;
        }
        const auto oldText = change.find("old");
        const auto newText = change.find("new");
        if (oldText == change.end() || !oldText->is_string() || newText == change.end() || !newText->is_string()) {
            error(number, "\"old\" and \"new\" of a name must be texts");
            return;
        }
        const NameKey key{table, static_cast<std::uint32_t>(*position)};
        std::string bytes;
        try {
            bytes = nameTextFromUtf8(newText->get<std::string>());
        } catch (const DbError& e) {
            error(number, e.what());
            return;
        }
        if (!renamed_.insert(key).second) {
            error(number, nameRecordText(key) + " name is given two new names");
            return;
        }
        const auto field51 = nameBytes(db_, key);
        const std::string_view current = nameFieldText(field51.data());
        if (!cp1252EqualsUtf8(current, oldText->get<std::string>()))
            plan_.conflicts.push_back(nameRecordText(key) + " name: the patch expects \"" + oldText->get<std::string>() +
                                      "\", the game holds \"" + cp1252ToUtf8(current) + "\"");
        if (bytes == current)
            return;
        NameChange rename{key, {}, renamedField(db_, key, bytes)};
        std::copy(field51.begin(), field51.end(), rename.before.begin());
        plan_.renames.push_back(rename);
    }

    std::set<NameKey> renamed_;

    struct Seen {
        std::uint32_t bits;
        std::size_t number;
    };

    const GameDatabase& db_;
    ChangeDescriber describer_;
    const std::string& fileName_;
    std::map<ValueKey, Seen> newValues_;
    PatchPlan plan_;
};

} // namespace

PatchPlan planPatch(const GameDatabase& db, std::string_view patchText, const std::string& fileName)
{
    return PatchReader(db, fileName).run(patchText);
}

} // namespace rostradb::cli
