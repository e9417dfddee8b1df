#pragma once
// The settings file ("dat") and the layout files of the two formats ("da1",
// "da2"): read once at start-up into the start-up copies, written once at
// exit from the live copies.

#include <string>

namespace belvorine {

// Builds the factory page settings and reads the three files into the
// start-up InitialData, page settings and layouts and the list dialog's
// settings. Anything missing or damaged takes its factory value; an older
// file's 460-byte page records are converted. Never fails.
void loadSettings();

// Writes the live records to the three files, each replaced whole. Returns
// 1 when all three were written. When the settings file cannot be written
// nothing is saved; when the layout file of format 1 cannot, format 2's is
// not written either. A file left read-only (mode without owner write) is
// not replaced, as the original program could not open it for writing.
int saveSettings();

// "Layoutdata No.1 -  0" ... "Layoutdata No.2 - 29".
std::string layoutKey(int format, int index);

}  // namespace belvorine
