// SPDX-License-Identifier: Apache-2.0
#pragma once

// Every text the device and file operations show: the status log lines (each replaces the one
// before), message-box texts and captions, and the file-dialog filters. Used byte for byte, odd
// spelling and spacing included: installers' notes, support scripts and screenshots quote these
// lines, so they stay as users have always seen them.

#include "serial/port_discovery.h"

namespace qn470::status {

// Connection.
inline constexpr const char* kPortOpenSuccess = "serial port is open success.\r\n";
inline constexpr const char* kPortOpenFail = kOpenFailMessage;
inline constexpr const char* kNotTrackerPort = kNotTrackerPortMessage;
inline constexpr const char* kPortClosed = "COM port is Close.\r\n";
// After kPortOpenFail, in a message box: %1 the rate asked for, %2 the standard rates.
inline constexpr const char* kBaudNotStandard =
    "The baud rate %1 is not a standard rate, so the port was not opened. Use one of: %2.";

// A command with the link closed: the command line's Send has two exclamation marks, every
// other command one, so a log shows which of them found the port closed.
inline constexpr const char* kSendNotOpen = "FAIL !! Serial port is not open.\r\n";
inline constexpr const char* kNotOpen = "FAIL ! Serial port is not open.\r\n";
inline constexpr const char* kNotNormalMode = "FAIL ! Not Normal mode or serial port error.\r\n";
// A command the open port would not take; %1: the port's reason.
inline constexpr const char* kSendFailed = "FAIL ! Send failed: %1.\r\n";

// Load and save.
inline constexpr const char* kLoadComplete = "Load data from device is complete.\r\n";
inline constexpr const char* kLoadNotComplete = "FAIL ! Load data from device is not complete.\r\n";
// %1: how many codes the report did not carry; %2: the first few of them.
inline constexpr const char* kLoadCodesMissing =
    "FAIL ! Load data from device is not complete, %1 codes missing: %2.\r\n";
// %1: the port's reason why the load command could not be written.
inline constexpr const char* kLoadCommandNotWritten =
    "FAIL ! Load data from device is not complete, the load command was not written: %1.\r\n";
inline constexpr const char* kSaveComplete = "Save Data to device is complete.\r\n";
inline constexpr const char* kSaveNotComplete = "FAIL ! Save Data to device is not complete.\r\n";
// %1: how many lines failed to be written ("1 line", "3 lines").
inline constexpr const char* kSaveLinesFailed =
    "FAIL ! Save Data to device is not complete, %1 failed.\r\n";
// %1: the blocks and codes whose set line would be too long for the tracker.
inline constexpr const char* kSaveLineTooLong =
    "FAIL ! Save Data to device refused, line too long: %1.\r\n";
// %1: the values the tracker would not take, with what is wrong with each.
inline constexpr const char* kSaveValuesRefused =
    "FAIL ! Save Data to device refused, values the tracker would not take: %1.\r\n";
// %1: the blocks and codes whose set line would not decode back to its own values.
inline constexpr const char* kSaveLineUnfaithful =
    "FAIL ! Save Data to device refused, lines the tracker would read differently: %1.\r\n";
// %1: the code of the page field whose value was refused; nothing was sent.
inline constexpr const char* kSaveFieldRefused =
    "FAIL ! Save Data to device stopped: the value of %1 was not taken.\r\n";

// Files. %1: the file and the problem.
inline constexpr const char* kWriteFileSuccess = "Write to file success.\r\n";
inline constexpr const char* kWriteFileFail = "FAIL ! Write to file. %1.\r\n";
// %1: the code of the refused page field; no dialog was opened, nothing written.
inline constexpr const char* kWriteFileFieldRefused =
    "FAIL ! Write to file stopped: the value of %1 was not taken.\r\n";
inline constexpr const char* kReadFileSuccess = "Read from file success.Please click any page.\r\n";
inline constexpr const char* kReadFileFail = "FAIL ! Read from file. %1.\r\n";
// After a profile was read: %1 the file's name, %2 how many problems, %3 one line each.
inline constexpr const char* kProfileProblemsCaption = "Profile problems";
inline constexpr const char* kProfileProblems =
    "%1 was loaded as it stands, but %2 of its lines have problems. Values the tracker would not "
    "take stop a save to the device until they are corrected.\n\n%3";
// %1: how many problems the message leaves out.
inline constexpr const char* kProfileMoreProblems = "... and %1 more (qn470 check lists all).\n";
inline constexpr const char* kWriteBinSuccess = "Write to bin file success.\r\n";
inline constexpr const char* kWriteBinFail = "FAIL ! Write to bin file. %1.\r\n";
inline constexpr const char* kWriteBinFieldRefused =
    "FAIL ! Write to bin file stopped: the value of %1 was not taken.\r\n";

// Message boxes.
inline constexpr const char* kCaptionError = "Error";
// The caption of "Disconnect device!" when a save notices the loss between two lines; lower case
// on purpose, so a user's report tells where in the save the adapter went.
inline constexpr const char* kCaptionErrorBetweenLines = "error";
inline constexpr const char* kDisconnectDevice = "Disconnect device!";
inline constexpr const char* kWriteLineFailed = "Failed to Write File!";

// File dialogs.
inline constexpr const char* kProfileFilter = "Setting file (*.pro);;All files (*.*)";
inline constexpr const char* kBinFilter = "Setting file (*.bin);;All files (*.*)";
inline constexpr const char* kProfileExtension = ".pro";
inline constexpr const char* kBinExtension = ".bin";
inline constexpr const char* kDefaultProfileFileName = "DefaultSystemConfig.pro";
inline constexpr const char* kSaveDialogCaption = "Save As";
inline constexpr const char* kOpenDialogCaption = "Open";

}  // namespace qn470::status
