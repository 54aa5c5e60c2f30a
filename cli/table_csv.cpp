#include "table_csv.h"

#include "csv.h"
#include "csv_import.h"
#include "misread_text.h"
#include "db/cp1252_text.h"
#include "db/errors.h"
#include "editor/name_changes.h"
#include "editor/people_columns.h"
#include "field_changes.h"

#include <algorithm>
#include <array>

namespace rostradb::cli {

namespace {

constexpr std::array<std::pair<std::string_view, LookupTable>, 5> kTables = {{
    {"clubs", LookupTable::Clubs},
    {"nations", LookupTable::Nations},
    {"first-names", LookupTable::FirstNames},
    {"second-names", LookupTable::SecondNames},
    {"common-names", LookupTable::CommonNames},
}};

std::string_view nameAt(const GameDatabase& db, LookupTable table, std::uint32_t position)
{
    return nameFieldText(nameBytes(db, NameKey{table, position}).data());
}

} // namespace

std::optional<LookupTable> lookupTableNamed(std::string_view name)
{
    for (const auto& [word, table] : kTables)
        if (word == name)
            return table;
    return std::nullopt;
}

std::string exportTableCsv(const GameDatabase& db, LookupTable table)
{
    std::string csv;
    appendCsvRow(csv, {"position", "name", "people"});
    const std::vector<std::uint32_t> people = peopleUsing(db, table);
    for (std::uint32_t i = 0; i < people.size(); ++i) {
        const std::vector<std::string> row = {std::to_string(i), cp1252ToUtf8(nameAt(db, table, i)),
                                              std::to_string(people[i])};
        appendCsvRow(csv, row);
    }
    return csv;
}

RenamePlan planRenames(const GameDatabase& db, LookupTable table, std::string_view csv, const std::string& fileName)
{
    RenamePlan plan;
    const auto error = [&](std::size_t line, std::string_view column, const std::string& what) {
        plan.errors.push_back(fileName + ":" + std::to_string(line) + ": column " + std::string(column) + ": " + what);
    };
    const CsvDocument document = parseCsv(csv, csvSeparatorOf(csv));
    if (document.rows.empty()) {
        plan.errors.push_back(fileName + ": no header row");
        return plan;
    }
    // Header: position and name are needed, people may be left out.
    enum class Column { Position, Name, People };
    std::vector<Column> columns;
    std::array<bool, 3> seen{};
    for (const std::string& cell : document.rows.front().cells) {
        const Column c = cell == "position" ? Column::Position
                         : cell == "name"   ? Column::Name
                         : cell == "people" ? Column::People
                                            : Column(-1);
        if (static_cast<int>(c) < 0 || seen[static_cast<std::size_t>(c)]) {
            error(document.rows.front().line, cell, static_cast<int>(c) < 0 ? "unknown column" : "repeated column");
            continue;
        }
        seen[static_cast<std::size_t>(c)] = true;
        columns.push_back(c);
    }
    if (!seen[0] || !seen[1])
        plan.errors.push_back(fileName + ":1: the columns position and name are needed");
    if (!plan.errors.empty())
        return plan;

    const std::size_t count = lookupCount(db, table);
    const std::vector<std::uint32_t> people = peopleUsing(db, table);
    std::vector<std::size_t> lineOf(count, 0);
    struct Changed {
        std::size_t line;
        bool misread;
    };
    std::vector<Changed> changed;
    std::optional<std::pair<std::size_t, std::string>> firstMisread;
    for (std::size_t r = 1; r < document.rows.size(); ++r) {
        const CsvTextRow& row = document.rows[r];
        std::optional<std::uint32_t> position;
        std::optional<std::string> name;
        std::optional<std::string> peopleCell;
        for (std::size_t i = 0; i < row.cells.size() && i < columns.size(); ++i) {
            switch (columns[i]) {
            case Column::Position:
                if (const auto p = parseDecimal(row.cells[i]); p && *p >= 0 && static_cast<std::uint64_t>(*p) < count)
                    position = static_cast<std::uint32_t>(*p);
                else
                    error(row.line, "position",
                          "\"" + row.cells[i] + "\" is not a position of the table (0 to " +
                              std::to_string(count == 0 ? 0 : count - 1) + ")");
                break;
            case Column::Name:
                name = row.cells[i];
                break;
            case Column::People:
                peopleCell = row.cells[i];
                break;
            }
        }
        if (!position)
            continue;
        if (lineOf[*position] != 0) {
            error(row.line, "position",
                  std::to_string(*position) + " comes twice (also on line " + std::to_string(lineOf[*position]) + ")");
            continue;
        }
        lineOf[*position] = row.line;
        if (peopleCell && !peopleCell->empty() && *peopleCell != std::to_string(people[*position]))
            error(row.line, "people",
                  "\"" + *peopleCell + "\" is not the game's count, " + std::to_string(people[*position]) +
                      "; only the name may change");
        if (!name)
            continue;
        const std::string_view now = nameAt(db, table, *position);
        if (cp1252EqualsUtf8(now, *name))
            continue;
        std::string bytes;
        try {
            bytes = nameTextFromUtf8(*name);
        } catch (const DbError& e) {
            error(row.line, "name", e.what());
            continue;
        }
        const bool misread = isMisreadUtf8(now, *name);
        if (misread && !firstMisread)
            firstMisread.emplace(row.line, "\"" + *name + "\" stands for \"" + cp1252ToUtf8(now) + "\"");
        changed.push_back({row.line, misread});
        const NameKey key{table, *position};
        NameChange change{key, {}, renamedField(db, key, bytes)};
        const auto field = nameBytes(db, key);
        std::copy(field.begin(), field.end(), change.before.begin());
        plan.renames.push_back(change);
    }
    if (document.error)
        plan.errors.push_back(fileName + ":" + std::to_string(document.error->line) + ": " + document.error->message);
    if (!changed.empty() && std::all_of(changed.begin(), changed.end(), [](const Changed& c) { return c.misread; }))
        error(firstMisread->first, "name",
              "the spreadsheet read the file in the wrong character set: open it as UTF-8 (" + firstMisread->second +
                  "; " + std::to_string(changed.size()) + " names like it)");
    std::sort(plan.renames.begin(), plan.renames.end(),
              [](const NameChange& a, const NameChange& b) { return a.key < b.key; });
    return plan;
}

} // namespace rostradb::cli
