// SPDX-License-Identifier: Apache-2.0
#pragma once

// The command window's file buttons and the default profile at start, on the record of a
// DeviceSession (whose status log, page hooks and prompter they share).
//
//   FileOperations files(session);
//   files.loadDefaultProfile();   // at start
//   files.saveToFile();           // "Save to file": page stored, save dialog, profile written
//
// A save whose page refuses a field stops before its dialog, with a FAIL line naming the field.
// A name chosen in a dialog gets ".pro" (".bin") appended only when it does not contain it
// anywhere. Cancelling a dialog changes nothing and shows nothing. Each file is written
// atomically; a failed write leaves the file that was there, and a failed read leaves the record
// and the pages as they were; both show a FAIL line that names the file and the problem. All
// commands are refused (false, no message) while the session runs a load or a save.

#include <QObject>
#include <QString>

#include "config/profile.h"

namespace qn470 {

class DeviceSession;
struct ParameterSet;

class FileOperations : public QObject {
    Q_OBJECT

public:
    explicit FileOperations(DeviceSession& session, QObject* parent = nullptr)
        : QObject(parent), m_session(session) {}

    // Resets the record from the built-in default profile and reloads the page; false only while
    // the session is busy.
    bool loadDefaultProfile();

    // The three buttons: "Save to file", "Load from file", "Save to Bin file".
    bool saveToFile();
    bool loadFromFile();
    bool saveToBinFile();

    // The same without a dialog or a page: the path is used as it is.
    bool writeProfileFile(const QString& path);
    bool readProfileFile(const QString& path);
    bool writeBinFile(const QString& path);

    // Asks for a profile as "Load from file" does and reads it into `into` (starting from a copy
    // of the record, as a load does), leaving the record and the pages alone; for comparing.
    // False when the dialog was cancelled or the read failed (with its FAIL line).
    bool readProfileCopy(ParameterSet& into);

    // The file the last of the three buttons chose, extension appended; empty when its dialog was
    // cancelled or the command refused. The window keeps its recent-files list with it.
    QString chosenFile() const { return m_chosenFile; }

    // path, with extension appended when path does not contain it anywhere (case-sensitive).
    static QString withExtension(const QString& path, const QString& extension);

signals:
    // A profile file now holds the record (not sent for bin files).
    void profileWritten(const QString& path);

private:
    // The open dialog of "Load from file"; the name, extension appended, goes to m_chosenFile.
    // False when busy or cancelled.
    bool chooseProfileToOpen();
    // Stores the open page, then the save dialog; the name, extension appended, goes to
    // m_chosenFile. False when busy, a field was refused (its status line shown) or cancelled.
    bool chooseFileToWrite(const char* fieldRefused, const char* filter, const char* extension);
    // Reads the profile at path over staging; a failure's status line is shown.
    ReadResult readOver(const QString& path, ParameterSet& staging);

    DeviceSession& m_session;
    QString m_chosenFile;
};

}  // namespace qn470
