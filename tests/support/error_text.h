#pragma once
// Runs an action and gives the message of the DbError it raised, or
// "(no error)", so tests can compare the exact text the user would see.
// Other exceptions pass through and fail the test on their own.

#include "db/errors.h"

#include <string>

namespace rostradb::test {

template <class Action>
std::string dbErrorOf(Action&& action)
{
    try {
        action();
    } catch (const DbError& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace rostradb::test
