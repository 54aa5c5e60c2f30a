#pragma once
// <windows.h> for the tests that stage or observe what Windows does, without
// its min and max macros (they break std::min and std::numeric_limits::max).
// Includes nothing elsewhere.

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
