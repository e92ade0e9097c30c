#pragma once

#include <cstdio>

namespace qor::platform {

// The workbook library prints raw diagnostics ("[ERROR][packager.c:...]") to the C library's
// standard error stream; the program reports the same failures in its own words. After this
// call that stream goes nowhere, and the returned stream, a duplicate of the original error
// output, is where the program's own messages (and Qt's) go. Sanitizer reports, written to the
// descriptor directly, still appear; Qt's lines are escaped as terminal lines. A standard
// stream closed by the caller stays unusable (its writes fail) rather than being reused. Call
// once, first thing in main(). Where the stream cannot be swapped, returns stderr and changes
// nothing.
std::FILE* setLibraryDiagnosticsAside();

}  // namespace qor::platform
