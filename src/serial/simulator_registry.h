#pragma once

// Simulated trackers announce their pseudo-terminals in a folder of the user's runtime
// directory, so that port lists (and `qn470 provision --all / --watch`) name them like a
// tracker's adapter, while every other pseudo-terminal stays a plain one. An entry holds the
// simulator's process id; an entry whose process is gone counts as absent.

#include <QString>

namespace qn470 {

// "pts/3" -> announced until withdrawn or the process ends.
void announceSimulator(const QString& portName);
void withdrawSimulator(const QString& portName);
bool isAnnouncedSimulator(const QString& portName);

}  // namespace qn470
