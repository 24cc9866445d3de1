// SPDX-License-Identifier: Apache-2.0
#include "config/operation_result.h"

namespace qn470 {

const char* stepWord(OperationResult::Step step) {
    switch (step) {
        case OperationResult::Step::None:
            return "";
        case OperationResult::Step::Open:
            return "open";
        case OperationResult::Step::Check:
            return "check";
        case OperationResult::Step::Read:
            return "read";
        case OperationResult::Step::Write:
            return "write";
        case OperationResult::Step::Verify:
            return "verify";
        case OperationResult::Step::Journal:
            return "journal";
    }
    return "";
}

std::string OperationResult::text() const {
    switch (kind) {
        case Kind::Ok:
            return "ok";
        case Kind::Differs: {
            std::string text = "differs";
            for (const std::string& code : differing) {
                text += ' ' + code;
            }
            return text;
        }
        case Kind::Failed: {
            std::string text = "failed ";
            text += stepWord(step);
            return detail.empty() ? text : text + ": " + detail;
        }
        case Kind::Stopped:
            return "stopped";
        case Kind::Unfinished:
            return "unfinished";
    }
    return {};
}

}  // namespace qn470
