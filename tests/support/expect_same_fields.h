#pragma once
// Compares two tables field by field through an independent list of the
// file's fields, naming the table, record and field of the first difference.

#include "support/staff_file_fields.h"

#include <gtest/gtest.h>

#include <vector>

namespace rostradb::test {

template <class Record>
void expectSameFields(const char* table, const std::vector<Record>& expected, const std::vector<Record>& actual,
                      const std::vector<FileField<Record>>& fields)
{
    ASSERT_EQ(expected.size(), actual.size()) << table;
    for (std::size_t k = 0; k < expected.size(); ++k)
        for (const auto& f : fields)
            ASSERT_EQ(f.get(expected[k]), f.get(actual[k])) << table << " record " << k << ", " << f.name;
}

} // namespace rostradb::test
