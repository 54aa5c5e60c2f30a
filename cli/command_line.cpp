// The options of every command and their --help texts.

#include "commands.h"
#include "game_files.h"

#include "editor/people_filter.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace rostradb::cli {

namespace {

constexpr const char* kProgram = "rostradb-cli";

constexpr const char* kOverview =
    "Exports, imports, compares and patches the people database of a game installation\n"
    "(GAME: the folder whose data/ holds index.dat and staff.dat). Every write goes through\n"
    "the same checked save as the window's File > Save: values another program changed since\n"
    "the load are kept, values both changed differently are conflicts (refused unless --force),\n"
    "and a save cut short is undone by the next command that reads the game.\n\n"
    "Exit status: 0 success, 1 the input or the data was refused (nothing was written) or\n"
    "the output could not be written, 2 a usage error, 3 the game's files may be changed\n"
    "(a failed save could not put staff.dat back; its journal restores it the next time the\n"
    "game is opened). When the game was saved but its report could not be written, stderr\n"
    "says so and the status is 0.\n"
    "`rostradb-cli COMMAND --help` describes each command.\n";

constexpr const char* kExportFooter =
    "Writes one CSV row per person, in table order, after a header row (RFC 4180, UTF-8 with\n"
    "a byte-order mark unless --no-bom, LF line ends). Columns: position, displayName; every\n"
    "field of the general record in file order (staffId .. nonPlayerId); firstNameText,\n"
    "secondNameText, commonNameText, nationText, secondNationText, nationContractedText,\n"
    "clubContractedText (the texts the positions name, empty outside their tables); player.*\n"
    "(filled for classifications 2 and 3) and nonPlayer.* (for 1 and 3) from the records at\n"
    "playerId and nonPlayerId. Numbers are decimal; the 32-bit integer fields are signed, all\n"
    "others unsigned.";

constexpr const char* kImportFooter =
    "Reads a CSV of the shape export writes: UTF-8 with or without a byte-order mark, or\n"
    "Windows-1252 (a file that is not UTF-8 is read so, as stderr says), with ',' or ';'\n"
    "between cells (taken from the header line) and LF, CRLF or CR line ends; a row of empty\n"
    "cells is skipped. Rows are found by position; any rows and any\n"
    "columns may be left out, in any order, and an empty cell leaves its value as it is.\n"
    "Strict: every number must be a decimal integer inside its field's range. Refused: an\n"
    "unknown or repeated column, a duplicate or out-of-range position, a changed displayName\n"
    "or ...Text cell (a ...Text cell may change with its code column when it names the new\n"
    "code's item), a changed playerId, extraIndex or nonPlayerId (the file keeps its own\n"
    "bytes there), a value in a player.* or nonPlayer.* column of a person whose\n"
    "classification does not lead there, and two rows that set a shared record to different\n"
    "values. Every error is listed as FILE:LINE: column NAME: what is wrong, and then nothing\n"
    "is written. Otherwise prints \"N values changed in M records\" and saves staff.dat. A value\n"
    "another program changed differently since the load is listed as a conflict and nothing is\n"
    "written, unless --force, which writes the CSV's values anyway.";

constexpr const char* kDiffFooter =
    "Lists every field that differs, one line per value, e.g.\n"
    "  staff 123 (Jon Smithers) wages: 1000 -> 2000\n"
    "With --json: an array of {\"table\", \"position\", \"field\", \"old\", \"new\"} objects\n"
    "(table \"staff\", \"player\" or \"nonPlayer\"), the patch that `apply` reads; it leaves out\n"
    "playerId, extraIndex and nonPlayerId, which a save never writes. Games whose\n"
    "staff, non-player or player tables differ in size are refused.\n"
    "Renamed nations, names and clubs follow (over the positions both games hold):\n"
    "  club 12 name: \"Old\" -> \"New\"\n"
    "in JSON {\"table\": \"clubs\" (or nations, first-names, second-names, common-names),\n"
    "\"position\", \"field\": \"name\", \"old\" and \"new\" texts}: the second form of the patch,\n"
    "which an older rostradb-cli refuses as an unknown table.";

constexpr const char* kApplyFooter =
    "Applies a patch written by `diff --json`. Each change's \"old\" must be the game's current\n"
    "value: every mismatch is listed as a conflict and nothing is written, unless --force,\n"
    "which writes the new values anyway. The same holds for a value another program changed\n"
    "differently while the patch was applied. Prints \"N values changed in M records\".\n"
    "Renames are applied the same way (\"old\" must be the record's name) and written to the\n"
    "lookup files together with staff.dat, all or nothing.";

constexpr const char* kSearchFooter =
    "Lists every person the filter lists, one line per person: the position, a tab, the\n"
    "display name. A plain text finds every display name that contains it, ignoring the\n"
    "case of a..z.\n\n";

constexpr const char* kSetFooter =
    "Changes every person the filter lists: COLUMN=VALUE sets the value, COLUMN+=N adds N\n"
    "and COLUMN-=N subtracts it; several may follow, each applied after the ones before.\n"
    "Values are limited to the lowest and highest value the field holds (never wrapped);\n"
    "people without the column (a player.* column of someone with no player record) are\n"
    "skipped. Prints what each assignment did and \"N values changed in M records\", and\n"
    "saves staff.dat through the same checked save as import: values another program changed\n"
    "differently since the load are conflicts, refused unless --force.\n\n";

constexpr const char* kColumnsFooter =
    "Prints one line per column, its fields separated by tabs, after a header line: the name\n"
    "(as export, --where, search and set take it), the type (number or text), the range of a\n"
    "number (lowest..highest), whether import and set write it (yes or no), and its aliases.";

constexpr const char* kShowFooter =
    "Prints every field of the person at POSITION: the general record, the texts its\n"
    "positions name, and the player and non-player records the classification leads to.";

// The option an argument names ("--name", "--name=VALUE", "-x", "-xVALUE"),
// or null.
const CLI::Option* optionNamed(const CLI::App& command, const std::string& argument)
{
    const bool isLong = argument.starts_with("--");
    const std::string name =
        isLong
            ? argument.substr(2, argument.find('=') == std::string::npos ? std::string::npos : argument.find('=') - 2)
            : argument.substr(1, 1);
    for (const CLI::Option* option : command.get_options())
        if (isLong ? option->check_lname(name) : option->check_sname(name))
            return option;
    return nullptr;
}

// CLI11 takes every argument that begins with '-' for an option, so a filter
// such as "-ro" (a part of a name) was refused as an unknown option and left
// its command without a FILTER. Here an argument beginning with one '-' that
// names none of the command's options is a value: the command's options go
// first (each with its value joined to it), then "--", after which CLI11
// takes every argument as a value, then the values in their order. Arguments
// beginning with "--" stay options, so that a mistyped one is still reported.
std::vector<std::string> valuesAfterOptions(const std::vector<CLI::App*>& commands,
                                            const std::vector<std::string>& arguments)
{
    const CLI::App* command = nullptr;
    std::size_t i = 0;
    for (; i < arguments.size() && !command; ++i)
        for (const CLI::App* c : commands)
            if (c->get_name() == arguments[i])
                command = c;
    if (!command)
        return arguments;
    std::vector<std::string> options(arguments.begin(), arguments.begin() + static_cast<std::ptrdiff_t>(i));
    std::vector<std::string> values;
    for (; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            values.insert(values.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1, arguments.end());
            break;
        }
        if (argument.size() < 2 || argument[0] != '-') {
            values.push_back(argument);
            continue;
        }
        const CLI::Option* option = optionNamed(*command, argument);
        const bool isLong = argument.starts_with("--");
        if (!option && !isLong) {
            values.push_back(argument);
            continue;
        }
        options.push_back(argument);
        const bool valueJoined = isLong ? argument.find('=') != std::string::npos : argument.size() > 2;
        if (option && option->get_items_expected_max() > 0 && !valueJoined && i + 1 < arguments.size()) {
            // Joined, so that a value beginning with '-' is not taken for an option.
            options.back() = option->get_lnames().empty()
                                 ? argument + arguments[i + 1]
                                 : "--" + option->get_lnames().front() + "=" + arguments[i + 1];
            ++i;
        }
    }
    if (!values.empty()) {
        options.emplace_back("--");
        options.insert(options.end(), values.begin(), values.end());
    }
    return options;
}

} // namespace

int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    forgetGamesRead(); // those of the command before, in a process that runs several
    CLI::App app{kOverview, kProgram};
    app.require_subcommand(1);
    app.fallthrough(false);
    // Options are --name on every platform. CLI11 would also take /name on
    // Windows, and so mistake a path such as /games/fendra for an option.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", std::string(kProgram) + " " + ROSTRADB_VERSION, "Print the version and exit");

    ExportOptions exportOptions;
    CLI::App* exportCommand = app.add_subcommand("export", "Write every person as one row of CSV");
    exportCommand->add_option("GAME", exportOptions.game, "The game directory")->required();
    exportCommand->add_option("-o,--output", exportOptions.outputFile, "Write to FILE instead of standard output")
        ->option_text("FILE");
    exportCommand->add_flag("--no-bom", exportOptions.noByteOrderMark, "Leave out the UTF-8 byte-order mark");
    exportCommand->add_option("--where", exportOptions.where, "Only the people this filter lists")
        ->option_text("FILTER");
    exportCommand->add_option("--table", exportOptions.table,
                              "Write the table of clubs, nations, first-names, second-names or common-names "
                              "(position,name,people) instead of the people");
    exportCommand->footer(std::string(kExportFooter) + "\n\n" + filterHelp());

    ImportOptions importOptions;
    CLI::App* importCommand = app.add_subcommand("import", "Apply a CSV of people to the game");
    importCommand->add_option("GAME", importOptions.game, "The game directory")->required();
    importCommand->add_option("FILE", importOptions.csvFile, "The CSV file")->required();
    importCommand->add_flag("--dry-run", importOptions.dryRun, "List the changes and write nothing");
    importCommand->add_flag("--force", importOptions.force,
                            "Write the CSV's values even where another program changed them since the load");
    importCommand->add_option("--table", importOptions.table,
                              "Rename records of clubs, nations, first-names, second-names or common-names from "
                              "a CSV of position,name,people (only the name may change)");
    importCommand->footer(kImportFooter);

    DiffOptions diffOptions;
    CLI::App* diffCommand = app.add_subcommand("diff", "List every value that differs between two games");
    diffCommand->add_option("OLD", diffOptions.oldGame, "The game directory to compare from")->required();
    diffCommand->add_option("NEW", diffOptions.newGame, "The game directory to compare with")->required();
    diffCommand->add_flag("--json", diffOptions.json, "Write the differences as a JSON patch");
    diffCommand->footer(kDiffFooter);

    ApplyOptions applyOptions;
    CLI::App* applyCommand = app.add_subcommand("apply", "Apply a patch written by diff --json");
    applyCommand->add_option("GAME", applyOptions.game, "The game directory")->required();
    applyCommand->add_option("PATCH", applyOptions.patchFile, "The JSON patch")->required();
    applyCommand->add_flag("--dry-run", applyOptions.dryRun, "List the changes and write nothing");
    applyCommand->add_flag("--force", applyOptions.force, "Write the new values even where the game's differ");
    applyCommand->footer(kApplyFooter);

    SearchOptions searchOptions;
    CLI::App* searchCommand = app.add_subcommand("search", "Find people by their name or by any column");
    searchCommand->add_option("GAME", searchOptions.game, "The game directory")->required();
    searchCommand->add_option("FILTER", searchOptions.filter, "Part of a display name, or a filter")->required();
    searchCommand->footer(kSearchFooter + filterHelp());

    SetOptions setOptions;
    CLI::App* setCommand = app.add_subcommand("set", "Change one or more columns of every person a filter lists");
    setCommand->add_option("GAME", setOptions.game, "The game directory")->required();
    setCommand->add_option("FILTER", setOptions.filter, "The people to change (\"\" for everyone)")->required();
    setCommand->add_option("ASSIGNMENT", setOptions.assignments, "COLUMN=VALUE, COLUMN+=N or COLUMN-=N")->required();
    setCommand->add_flag("--dry-run", setOptions.dryRun, "List the changes and write nothing");
    setCommand->add_flag("--force", setOptions.force,
                         "Write the new values even where another program changed them since the load");
    setCommand->footer(kSetFooter + filterHelp());

    ShowOptions showOptions;
    CLI::App* showCommand = app.add_subcommand("show", "Print every field of one person's records");
    showCommand->add_option("GAME", showOptions.game, "The game directory")->required();
    showCommand->add_option("POSITION", showOptions.position, "The person's position in the staff table")->required();
    showCommand->add_flag("--json", showOptions.json, "Print a JSON object");
    showCommand->footer(kShowFooter);

    CLI::App* columnsCommand = app.add_subcommand("columns", "List the columns: name, type, range, writable, aliases");
    columnsCommand->footer(kColumnsFooter);

    try {
        // CLI11 consumes its arguments from the back.
        const std::vector<std::string> ordered =
            valuesAfterOptions({exportCommand, importCommand, diffCommand, applyCommand, searchCommand, setCommand,
                                showCommand, columnsCommand},
                               arguments);
        std::vector<std::string> reversed(ordered.rbegin(), ordered.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e, out, err);
        if (status != 0)
            return kUsageError;
        out.flush(); // --help: its text must have reached the output
        if (!out)
            err << "rostradb-cli: the output cannot be written\n";
        return out ? kSuccess : kRefused;
    }

    if (exportCommand->parsed())
        return runExport(exportOptions, out, err);
    if (importCommand->parsed())
        return runImport(importOptions, out, err);
    if (diffCommand->parsed())
        return runDiff(diffOptions, out, err);
    if (applyCommand->parsed())
        return runApply(applyOptions, out, err);
    if (searchCommand->parsed())
        return runSearch(searchOptions, out, err);
    if (setCommand->parsed())
        return runSet(setOptions, out, err);
    if (columnsCommand->parsed())
        return runColumns(out, err);
    return runShow(showOptions, out, err);
}

} // namespace rostradb::cli
