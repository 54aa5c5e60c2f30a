// What each command does, between the parsed options and the core.

#include "commands.h"

#include "csv.h"
#include "csv_export.h"
#include "csv_import.h"
#include "db/cp1252_text.h"
#include "db/errors.h"
#include "editor/bulk_change.h"
#include "editor/name_changes.h"
#include "editor/people_filter.h"
#include "game_diff.h"
#include "game_files.h"
#include "patch_apply.h"
#include "person_report.h"
#include "table_csv.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <ostream>

namespace rostradb::cli {

namespace {

// Runs a command's body; anything that stops it becomes status 1, or 3 when
// staff.dat may be left changed.
template <class Body>
int guarded(std::ostream& err, Body&& body)
{
    try {
        return body();
    } catch (const FilesMayBeChanged& e) {
        err << "rostradb-cli: " << e.what() << '\n';
        return kFilesMayBeChanged;
    } catch (const std::exception& e) {
        // Our refusals and the core's, but also a file system error or a
        // lack of memory: always a message and a status.
        err << "rostradb-cli: " << e.what() << '\n';
    }
    return kRefused;
}

// The output is checked once the command's text is in it: a full disk or a
// closed pipe shows only when the stream is flushed. The game may already be
// saved by then, and the message says whether it was.
int outputWritten(std::ostream& out, std::ostream& err, bool gameSaved)
{
    out.flush();
    if (out)
        return kSuccess;
    err << "rostradb-cli: the output cannot be written";
    if (gameSaved) {
        err << "; the game was saved\n";
        return kSuccess;
    }
    err << '\n';
    return kRefused;
}

// "1 error", "2 errors".
std::string counted(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

void listAll(std::ostream& err, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        err << line << '\n';
}

// The filter as typed (UTF-8) read in the game's code page.
PeopleFilter filterArgument(const std::string& text)
{
    try {
        return PeopleFilter::parseTyped(text);
    } catch (const FilterError& e) {
        throw Refused("filter " + std::string(e.what()));
    }
}

// COLUMN=VALUE sets, COLUMN+=N adds and COLUMN-=N subtracts.
BulkChange assignmentArgument(const std::string& text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        throw Refused("\"" + text + "\": COLUMN=VALUE, COLUMN+=N or COLUMN-=N is expected");
    const char before = text[equals - 1];
    const bool adds = before == '+' || before == '-';
    const std::string name = text.substr(0, adds ? equals - 1 : equals);
    const PeopleColumn* column = findPeopleColumn(name);
    if (!column)
        throw Refused("\"" + text + "\": unknown column " + name);
    if (!column->writable)
        throw Refused("\"" + text + "\": " + column->name + " cannot be changed");
    const std::optional<std::int64_t> value = parseDecimal(std::string_view(text).substr(equals + 1));
    if (!value)
        throw Refused("\"" + text + "\": a whole number is expected after the =");
    if (isBeyondEveryField(*value))
        throw Refused("\"" + text + "\": the number is too large for any field");
    if (!adds)
        return {column, BulkHow::SetTo, *value};
    return {column, BulkHow::Add, before == '-' ? -*value : *value};
}

// --table's word, or none when it was not given.
std::optional<LookupTable> tableArgument(const std::string& word)
{
    if (word.empty())
        return std::nullopt;
    const std::optional<LookupTable> table = lookupTableNamed(word);
    if (!table)
        throw Refused("--table " + word + ": the table is one of " + kTableNames);
    return table;
}

} // namespace

int runExport(const ExportOptions& options, std::ostream& out, std::ostream& err)
{
    return guarded(err, [&] {
        const PeopleFilter filter = filterArgument(options.where);
        const std::optional<LookupTable> table = tableArgument(options.table);
        if (table && !options.where.empty())
            throw Refused("--where filters people; it cannot be given with --table");
        const GameDatabase& db = loadGameForReading(options.game, &err);
        std::string csv;
        if (table) {
            csv = exportTableCsv(db, *table);
        } else if (filter.listsEveryone()) {
            csv = exportCsv(db);
        } else {
            const std::vector<std::uint32_t> people = matchingPeople(db, filter);
            csv = exportCsv(db, &people);
        }
        const std::string_view mark = options.noByteOrderMark ? std::string_view() : kUtf8ByteOrderMark;
        if (options.outputFile.empty()) {
            out << mark << csv;
            return outputWritten(out, err, false);
        }
        std::ofstream file(pathFromUtf8(options.outputFile), std::ios::binary | std::ios::trunc);
        if (!file)
            throw Refused(options.outputFile + ": " + std::strerror(errno));
        file << mark << csv;
        file.close();
        if (!file)
            throw Refused(options.outputFile + ": cannot be written (" + std::strerror(errno) + ")");
        return kSuccess;
    });
}

int runImport(const ImportOptions& options, std::ostream& out, std::ostream& err)
{
    return guarded(err, [&] {
        const std::optional<LookupTable> table = tableArgument(options.table);
        StaffFileLock lock = lockForSaving(options.game);
        GameDatabase db = loadGame(options.game, &err, &lock);
        const DecodedText csv = decodeCsvBytes(readWholeFile(options.csvFile));
        if (csv.readAsWindows1252)
            err << "rostradb-cli: " << options.csvFile << " is not UTF-8: read as Windows-1252\n";
        if (table) {
            const RenamePlan plan = planRenames(db, *table, csv.utf8, options.csvFile);
            if (!plan.errors.empty()) {
                listAll(err, plan.errors);
                throw Refused(options.csvFile + ": " + std::to_string(plan.errors.size()) +
                              " errors; nothing was written");
            }
            const bool saved =
                saveChanges(db, options.game, lock, {}, options.dryRun, options.force, out, err, plan.renames);
            return outputWritten(out, err, saved);
        }
        const ImportPlan plan = planImport(db, csv.utf8, options.csvFile);
        if (!plan.errors.empty()) {
            listAll(err, plan.errors);
            throw Refused(options.csvFile + ": " + counted(plan.errors.size(), "error", "errors") +
                          "; nothing was written");
        }
        const bool saved = saveChanges(db, options.game, lock, plan.changes, options.dryRun, options.force, out, err);
        return outputWritten(out, err, saved);
    });
}

int runDiff(const DiffOptions& options, std::ostream& out, std::ostream& err)
{
    return guarded(err, [&] {
        const GameDatabase& before = loadGameForReading(options.oldGame, &err);
        const GameDatabase& after = loadGameForReading(options.newGame, &err);
        const std::vector<FieldChange> changes = diffGames(before, after);
        const std::vector<NameChange> renames = diffNames(before, after);
        const auto nameText = [](const NameField& field) { return cp1252ToUtf8(nameFieldText(field.data())); };
        if (options.json) {
            // A patch holds what apply can write: the links a save never
            // writes (playerId, extraIndex, nonPlayerId) stay in the text only.
            std::vector<FieldChange> writable;
            for (const FieldChange& c : changes)
                if (isSavedField(c.key.table, c.key.field))
                    writable.push_back(c);
            // One change a line: a patch that reads well and compares well.
            nlohmann::ordered_json patch = changesToJson(writable);
            // Renames (the patch's second form): the table's word, "name",
            // and the old and new texts.
            for (const NameChange& r : renames)
                patch.push_back({{"table", lookupTableWord(r.key.table)},
                                 {"position", r.key.position},
                                 {"field", "name"},
                                 {"old", nameText(r.before)},
                                 {"new", nameText(r.after)}});
            std::string text = "[";
            for (std::size_t i = 0; i < patch.size(); ++i)
                text += (i == 0 ? "\n  " : ",\n  ") + patch[i].dump();
            text += patch.empty() ? "]\n" : "\n]\n";
            out << text;
            return outputWritten(out, err, false);
        }
        const ChangeDescriber describer(before);
        std::string text;
        for (const FieldChange& c : changes)
            text += describer.describe(c) + '\n';
        for (const NameChange& r : renames)
            text += cp1252ToUtf8(nameRecordText(r.key)) + " name: \"" + nameText(r.before) + "\" -> \"" +
                    nameText(r.after) + "\"\n";
        out << text;
        return outputWritten(out, err, false);
    });
}

int runApply(const ApplyOptions& options, std::ostream& out, std::ostream& err)
{
    return guarded(err, [&] {
        StaffFileLock lock = lockForSaving(options.game);
        GameDatabase db = loadGame(options.game, &err, &lock);
        const PatchPlan plan = planPatch(db, readWholeFile(options.patchFile), options.patchFile);
        if (!plan.errors.empty()) {
            listAll(err, plan.errors);
            throw Refused(options.patchFile + ": " + counted(plan.errors.size(), "error", "errors") +
                          "; nothing was written");
        }
        if (!plan.conflicts.empty()) {
            for (const std::string& conflict : plan.conflicts)
                err << "conflict: " << conflict << '\n';
            if (!options.force)
                throw Refused(options.patchFile + ": " + counted(plan.conflicts.size(), "conflict", "conflicts") +
                              "; nothing was written (--force writes the new values anyway)");
        }
        const bool saved =
            saveChanges(db, options.game, lock, plan.changes, options.dryRun, options.force, out, err, plan.renames);
        return outputWritten(out, err, saved);
    });
}

int runSearch(const SearchOptions& options, std::ostream& out, std::ostream& err)
{
    return guarded(err, [&] {
        const PeopleFilter filter = filterArgument(options.filter);
        // The list shows display names (first and second names): the other
        // lookup files are read only when a term names one of their texts.
        const LeftOut leftOut{.nations = !filter.readsNamesOf(LookupTable::Nations),
                              .commonNames = !filter.readsNamesOf(LookupTable::CommonNames),
                              .clubs = !filter.readsNamesOf(LookupTable::Clubs)};
        const GameDatabase& db = loadGameForReading(options.game, &err, leftOut);
        std::string lines;
        for (const std::uint32_t position : matchingPeople(db, filter))
            lines += std::to_string(position) + '\t' + cp1252ToUtf8(db.staff[position].displayName) + '\n';
        out << lines;
        return outputWritten(out, err, false);
    });
}

int runShow(const ShowOptions& options, std::ostream& out, std::ostream& err)
{
    const std::optional<std::int64_t> position = parseDecimal(options.position);
    if (!position || *position < 0) {
        err << "rostradb-cli: POSITION must be a whole number from 0 up, not \"" << options.position << "\"\n";
        return kUsageError;
    }
    return guarded(err, [&] {
        const GameDatabase& db = loadGameForReading(options.game, &err);
        if (static_cast<std::uint64_t>(*position) >= db.staff.size())
            throw Refused("no person at position " + options.position + " (the staff table holds " +
                          std::to_string(db.staff.size()) + " people)");
        const auto at = static_cast<std::size_t>(*position);
        if (options.json)
            out << personJson(db, at).dump(2) << '\n';
        else
            out << personText(db, at);
        return outputWritten(out, err, false);
    });
}

int runSet(const SetOptions& options, std::ostream& out, std::ostream& err)
{
    return guarded(err, [&] {
        const PeopleFilter filter = filterArgument(options.filter);
        std::vector<BulkChange> assignments;
        for (const std::string& text : options.assignments)
            assignments.push_back(assignmentArgument(text));
        StaffFileLock lock = lockForSaving(options.game);
        GameDatabase db = loadGame(options.game, &err, &lock);
        const std::vector<std::uint32_t> people = matchingPeople(db, filter);

        // One assignment after the other, each seeing what the ones before
        // it stored, as the window's changes one after the other do; every
        // value listed once, from its first old value to its last new one.
        std::vector<FieldChange> changes;
        std::map<ValueKey, std::size_t> changeOf;
        for (const BulkChange& assignment : assignments) {
            const BulkOutcome outcome = planBulkChange(db, people, assignment);
            out << outcome.step.name << '\n';
            for (const FieldChange& c : outcome.step.changes) {
                setValue(db, c.key, c.after);
                const auto [at, added] = changeOf.try_emplace(c.key, changes.size());
                if (added)
                    changes.push_back(c);
                else
                    changes[at->second].after = c.after;
            }
        }
        // Back as loaded: the save puts the changes in again.
        for (auto c = changes.rbegin(); c != changes.rend(); ++c)
            setValue(db, c->key, c->before);
        std::erase_if(changes, [](const FieldChange& c) { return c.before == c.after; });
        sortChanges(changes);
        const bool saved = saveChanges(db, options.game, lock, changes, options.dryRun, options.force, out, err);
        return outputWritten(out, err, saved);
    });
}

} // namespace rostradb::cli
