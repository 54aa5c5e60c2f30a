// What each command does, between the parsed options and the core.

#include "commands.h"

#include "csv_export.h"
#include "csv_import.h"
#include "db/cp1252_text.h"
#include "db/errors.h"
#include "editor/staff_search.h"
#include "game_diff.h"
#include "game_files.h"
#include "patch_apply.h"
#include "person_report.h"
#include "table_fields.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <ostream>

namespace rostradb::cli {

namespace {

// Runs a command's body; anything that stops it becomes status 1.
template <class Body>
int guarded(std::ostream& err, Body&& body)
{
    try {
        return body();
    } catch (const std::exception& e) {
        // Our refusals and the core's, but also a file system error or a
        // lack of memory: always a message and a status.
        err << "rostradb-cli: " << e.what() << '\n';
    }
    return kRefused;
}

void listAll(std::ostream& err, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        err << line << '\n';
}

} // namespace

int runExport(const ExportOptions& options, std::ostream& out, std::ostream& err)
{
    return guarded(err, [&] {
        const std::string csv = exportCsv(loadGame(options.game));
        if (options.outputFile.empty()) {
            out << csv;
            return kSuccess;
        }
        std::ofstream file(pathFromUtf8(options.outputFile), std::ios::binary | std::ios::trunc);
        file << csv;
        file.close();
        if (!file)
            throw Refused(options.outputFile + ": cannot be written");
        return kSuccess;
    });
}

int runImport(const ImportOptions& options, std::ostream& out, std::ostream& err)
{
    return guarded(err, [&] {
        GameDatabase db = loadGame(options.game);
        const ImportPlan plan = planImport(db, readWholeFile(options.csvFile), options.csvFile);
        if (!plan.errors.empty()) {
            listAll(err, plan.errors);
            throw Refused(options.csvFile + ": " + std::to_string(plan.errors.size()) +
                          " errors; nothing was written");
        }
        saveChanges(db, options.game, plan.changes, options.dryRun, out);
        return kSuccess;
    });
}

int runDiff(const DiffOptions& options, std::ostream& out, std::ostream& err)
{
    return guarded(err, [&] {
        const GameDatabase before = loadGame(options.oldGame);
        const GameDatabase after = loadGame(options.newGame);
        const std::vector<FieldChange> changes = diffGames(before, after);
        if (options.json) {
            // A patch holds what apply can write: the links a save never
            // writes (playerId, extraIndex, nonPlayerId) stay in the text only.
            std::vector<FieldChange> writable;
            for (const FieldChange& c : changes)
                if (c.field->saved)
                    writable.push_back(c);
            // One change a line: a patch that reads well and compares well.
            const nlohmann::ordered_json patch = changesToJson(writable);
            std::string text = "[";
            for (std::size_t i = 0; i < patch.size(); ++i)
                text += (i == 0 ? "\n  " : ",\n  ") + patch[i].dump();
            text += patch.empty() ? "]\n" : "\n]\n";
            out << text;
            return kSuccess;
        }
        const ChangeDescriber describer(before);
        std::string text;
        for (const FieldChange& c : changes)
            text += describer.describe(c) + '\n';
        out << text;
        return kSuccess;
    });
}

int runApply(const ApplyOptions& options, std::ostream& out, std::ostream& err)
{
    return guarded(err, [&] {
        GameDatabase db = loadGame(options.game);
        const PatchPlan plan = planPatch(db, readWholeFile(options.patchFile), options.patchFile);
        if (!plan.errors.empty()) {
            listAll(err, plan.errors);
            throw Refused(options.patchFile + ": " + std::to_string(plan.errors.size()) +
                          " errors; nothing was written");
        }
        if (!plan.conflicts.empty()) {
            for (const std::string& conflict : plan.conflicts)
                err << "conflict: " << conflict << '\n';
            if (!options.force)
                throw Refused(options.patchFile + ": " + std::to_string(plan.conflicts.size()) +
                              " conflicts; nothing was written (--force writes the new values anyway)");
        }
        saveChanges(db, options.game, plan.changes, options.dryRun, out);
        return kSuccess;
    });
}

int runSearch(const SearchOptions& options, std::ostream& out, std::ostream& err)
{
    return guarded(err, [&] {
        const std::optional<std::string> text = utf8ToCp1252(options.text);
        if (!text)
            throw Refused("the search text holds a character no name in the game can hold");
        const GameDatabase db = loadGame(options.game);
        std::string lines;
        for (const SearchHit& hit : searchStaff(*text, db.staff, db.directory))
            lines += std::to_string(hit.position) + '\t' + cp1252ToUtf8(hit.displayName) + '\n';
        out << lines;
        return kSuccess;
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
        const GameDatabase db = loadGame(options.game);
        if (static_cast<std::uint64_t>(*position) >= db.staff.size())
            throw Refused("no person at position " + options.position + " (the staff table holds " +
                          std::to_string(db.staff.size()) + " people)");
        const auto at = static_cast<std::size_t>(*position);
        if (options.json)
            out << personJson(db, at).dump(2) << '\n';
        else
            out << personText(db, at);
        return kSuccess;
    });
}

} // namespace rostradb::cli
