// `rostradb-cli columns`: the column catalogue, for people choosing a column
// to filter or set, and for scripts (the shell completion reads it).

#include "commands.h"

#include "editor/people_columns.h"

#include <ostream>
#include <string>

namespace rostradb::cli {

std::string columnCatalogue()
{
    std::string text = "column\ttype\trange\twritable\taliases\n";
    for (const PeopleColumn& column : peopleColumns()) {
        text += column.name;
        text += column.isNumber() ? "\tnumber\t" + std::to_string(column.lowest()) + ".." +
                                        std::to_string(column.highest())
                                  : std::string("\ttext\t");
        text += column.writable ? "\tyes\t" : "\tno\t";
        std::string aliases;
        for (const std::string_view alias : aliasesOf(column))
            (aliases += aliases.empty() ? "" : ",") += alias;
        text += aliases;
        text += '\n';
    }
    return text;
}

int runColumns(std::ostream& out, std::ostream& err)
{
    out << columnCatalogue();
    out.flush();
    if (out)
        return kSuccess;
    err << "rostradb-cli: the output cannot be written\n";
    return kRefused;
}

} // namespace rostradb::cli
