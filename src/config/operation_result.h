// SPDX-License-Identifier: Apache-2.0
#pragma once

// How one operation on a tracker ended (a load, a save with or without its check, a provisioning,
// a restore), as a value: the window, qn470 and provisioning build it the same way and render it
// only at the edge (status line, result line, journal column), so an entry means the same
// whoever wrote it.

#include <string>
#include <vector>

namespace qn470 {

struct OperationResult {
    enum class Kind {
        Ok,          // done, and checked where a check was asked for
        Differs,     // the whole series arrived, but the tracker holds some codes otherwise
        Failed,      // a step failed; `step` and `detail` say which and why
        Stopped,     // the user or the program stopped it
        Unfinished,  // still running: what a run killed halfway leaves in the journal
    };
    // The step that failed.
    enum class Step { None, Open, Check, Read, Write, Verify, Journal };

    Kind kind = Kind::Unfinished;
    Step step = Step::None;
    std::string detail;                  // why it failed, in words ("no answer", "link lost")
    std::vector<std::string> differing;  // Differs: the codes, in table order

    static OperationResult ok() { return {Kind::Ok, Step::None, {}, {}}; }
    static OperationResult differs(std::vector<std::string> codes) {
        return {Kind::Differs, Step::None, {}, std::move(codes)};
    }
    static OperationResult failed(Step step, std::string detail) {
        return {Kind::Failed, step, std::move(detail), {}};
    }
    static OperationResult stopped() { return {Kind::Stopped, Step::None, {}, {}}; }

    bool isOk() const { return kind == Kind::Ok; }

    // "ok", "differs C1 C2", "failed read: no answer", "stopped", "unfinished".
    std::string text() const;
};

// "open", "check", "read", "write", "verify", "journal".
const char* stepWord(OperationResult::Step step);

}  // namespace qn470
