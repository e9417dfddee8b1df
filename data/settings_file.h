#pragma once
// The settings file ("dat") and the layout files of the two formats ("da1",
// "da2"): read once at start-up into the start-up copies, written once at
// exit from the live copies. Beside them, a file of our own ("prn") names
// each format's printer, which the settings file knows only by its place in
// the printer list.

#include <string>

#include <QStringList>

namespace belvorine {

// Builds the factory page settings and reads the three files into the
// start-up InitialData, page settings and layouts and the list dialog's
// settings. Anything missing or damaged takes its factory value; an older
// file's 460-byte page records are converted. Never fails; a file that is
// there but could not be read is listed by settingsFilesNotRead.
void loadSettings();

// The settings and layout files that were there at start-up but could not
// be read (an I/O error, not a regular file, far too large). The user is
// told, and the exit leaves them as they are rather than write factory
// values over them.
QStringList settingsFilesNotRead();

// Writes the live records to the three files and the printer names, each
// replaced whole. A format whose stored printer is missing in this run
// keeps its stored printer index and name. Returns
// 1 when every file that was to be written was written. When the settings
// file cannot be written nothing is saved; the printer names are written
// with it; when the layout file of format 1 cannot, format 2's is not
// written either. A file left read-only (mode
// without owner write) is not replaced, as the original program could not
// open it for writing; nor is a file that could not be read at start-up.
int saveSettings();

// "Layoutdata No.1 -  0" ... "Layoutdata No.2 - 29".
std::string layoutKey(int format, int index);

}  // namespace belvorine
