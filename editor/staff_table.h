#pragma once
// The editor names tables as the database does.

#include "db/staff_table.h"
