// SPDX-License-Identifier: Apache-2.0
#pragma once

// Simulated trackers announce their pseudo-terminals in a folder private to the user, so that
// port lists (and `qn470 provision --all / --watch`) name them like a tracker's adapter, while
// every other pseudo-terminal stays a plain one. The folder is $XDG_RUNTIME_DIR/qn470-simulators,
// or, without a private runtime folder, qn470-simulators-UID in the temporary folder, created
// 0700; either is used only while it is a real folder of this user that nobody else may enter.
// An entry holds the simulator's process id, and counts only while that process is alive, is
// this user's and holds the terminal's master side: a stale or planted entry is absent.

#include <QString>

namespace qn470 {

// "pts/3" -> announced until withdrawn or the process ends. Empty, or why the terminal could not
// be announced (no private folder); the simulator runs either way, as a plain terminal.
QString announceSimulator(const QString& portName);
void withdrawSimulator(const QString& portName);
bool isAnnouncedSimulator(const QString& portName);

}  // namespace qn470
