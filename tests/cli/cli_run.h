#pragma once
// Runs rostradb-cli in-process, as the program would with these arguments,
// and keeps what it printed. Also a few helpers on CSV text for the tests
// that edit an exported file the way a spreadsheet user would.

#include "cli/commands.h"
#include "cli/csv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace rostradb::test {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

inline CliResult runCli(const std::vector<std::string>& arguments)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::runCli(arguments, out, err);
    return {status, out.str(), err.str()};
}

// A CSV document as rows of cells, with the header's column names.
struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    static CsvTable parse(const std::string& text)
    {
        const cli::CsvDocument doc = cli::parseCsv(text);
        EXPECT_FALSE(doc.error.has_value());
        CsvTable table;
        for (std::size_t i = 0; i < doc.rows.size(); ++i)
            (i == 0 ? table.header : table.rows.emplace_back()) = doc.rows[i].cells;
        return table;
    }

    std::size_t column(const std::string& name) const
    {
        const auto found = std::find(header.begin(), header.end(), name);
        EXPECT_NE(found, header.end()) << name;
        return static_cast<std::size_t>(found - header.begin());
    }
    std::string& cell(std::size_t row, const std::string& name) { return rows.at(row).at(column(name)); }

    std::string text() const
    {
        std::string out;
        cli::appendCsvRow(out, header);
        for (const auto& row : rows)
            cli::appendCsvRow(out, row);
        return out;
    }
};

} // namespace rostradb::test
