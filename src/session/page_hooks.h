#pragma once

// How the device and file operations reach the page on show: before the record is written to the
// tracker or a file, the page stores its controls into it; after the record was replaced by a
// load, the page reloads its controls. The window sets the page registry's source flags from the
// source. Either hook may be empty (the command-line tool has no pages).

#include <functional>

namespace qn470 {

enum class RecordSource { File, Device };

struct PageHooks {
    std::function<void()> storeValues;
    std::function<void(RecordSource)> loadValues;
};

}  // namespace qn470
