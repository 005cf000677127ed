#pragma once

// <windows.h> for the core's few Windows calls, without the min and max macros that would break
// the standard library and without the rarely used parts. Includes nothing elsewhere.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif
