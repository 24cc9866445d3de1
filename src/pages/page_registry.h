// SPDX-License-Identifier: Apache-2.0
#pragma once

// Which page is open, where the record's values came from, and which page was closed last. The
// view, the pages and the command window share one registry, held by the application state.

#include <array>

namespace qn470 {

class CPage;

// Tab indexes, in the order of the tab strip.
enum PageIndex : int {
    kMainPage = 0,
    kGpsPage,
    kCommunicationPage,
    kSecurityPage,
    kFunctionPage,
    kTimerPage,
    kStopwatchPage,
    kCounterPage,
    kInputOutputPage,
    kMotionSensorPage,
    kSerialPortPage,
    kPageCount
};

struct PageRegistry {
    // Exactly one is set once a page has opened: the page opened last.
    std::array<bool, kPageCount> current{};
    // The live page of each kind; a page clears its entry when it is destroyed.
    std::array<CPage*, kPageCount> pages{};
    // Set together, one on and the other off, by whoever fills the record.
    bool loadedFromProfile = false;
    bool loadedFromDevice = false;
    // At most one is set: the page closed last.
    std::array<bool, kPageCount> lastClosed{};
    // Set when the frame starts closing; never cleared. The page open then stores nothing.
    bool shuttingDown = false;
    // How often each page has been opened in this run (a page can tell its first opening).
    std::array<int, kPageCount> openCount{};

    void setLoadedFromProfile() {
        loadedFromProfile = true;
        loadedFromDevice = false;
    }
    void setLoadedFromDevice() {
        loadedFromDevice = true;
        loadedFromProfile = false;
    }
    bool loaded() const { return loadedFromProfile || loadedFromDevice; }

    // The page whose current flag is set, or nullptr.
    CPage* currentPage() const {
        for (int i = 0; i < kPageCount; ++i) {
            if (current[i]) {
                return pages[i];
            }
        }
        return nullptr;
    }
};

}  // namespace qn470
