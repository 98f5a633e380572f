// The Windows console's own calls that both of its files use, and <windows.h> as they
// include it: without its min and max, and without what the console has no use for.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstddef>
#include <span>

#include "console/platform.h"

namespace intcalc {

// ByteCount: a count for the system, which takes 32 bits at either width.
DWORD ByteCount(std::size_t size);

// IsConsole: whether the handle is a console's.
bool IsConsole(HANDLE handle);

// ReadFromHandle: one ReadFile. A pipe whose writer has gone reports a broken pipe, and
// a file or a console reports no bytes: both are the end of input.
ReadResult ReadFromHandle(HANDLE handle, std::span<char> destination);

}  // namespace intcalc
