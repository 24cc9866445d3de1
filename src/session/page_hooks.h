// SPDX-License-Identifier: Apache-2.0
#pragma once

// How the device and file operations reach the page on show: before the record is written to the
// tracker or a file, the page stores its controls into it; after the record was replaced by a
// load, the page reloads its controls. The window sets the page registry's source flags from the
// source. Either hook may be empty (the command-line tool has no pages); an empty store hook
// counts as every field taken.

#include <QString>
#include <functional>
#include <utility>

namespace qn470 {

enum class RecordSource { File, Device };

// Whether a store took every field of the page. A refused field has shown its prompt; it and the
// fields after it kept their record values, so nothing is to be written from the record.
struct StoreResult {
    bool ok = true;
    QString field;  // the refused field's parameter code, e.g. "J9"

    static StoreResult refused(QString code) { return {false, std::move(code)}; }
};

struct PageHooks {
    std::function<StoreResult()> storeValues;
    std::function<void(RecordSource)> loadValues;
};

}  // namespace qn470
