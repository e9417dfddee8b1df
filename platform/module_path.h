#pragma once
// The program's files are named after its executable and lie in one folder:
// beside the executable when the user may write there, otherwise in the
// user's data folder. programFilesFolder() is the one place that decides.

#include <QString>

namespace belvorine {

// The path of the program's file with the extension `extension` ("dat",
// "ovd", ...): the executable's name with its three-letter extension
// replaced, or with "." and the extension appended when it has none
// (belvorine -> belvorine.dat), in programFilesFolder().
QString modulePathWithExtension(const QString& extension);

// The same naming rule applied to any path; modulePathWithExtension uses it.
QString replaceExtension(const QString& path, const QString& extension);

// The executable's path (the real one unless a test has set another).
QString modulePath();

// The folder of the program's files: the executable's own folder when this
// user may write there and it is not a system folder (a folder under /usr,
// where the package manager owns every file); otherwise
// $XDG_DATA_HOME/belvorine, by default ~/.local/share/belvorine. Decided
// once per executable path, so the files of one run never change folder.
QString programFilesFolder();

// Makes programFilesFolder() where it does not exist yet (the per-user
// folder at a first start), readable by the user alone. Returns 1 when the
// folder is there, 0 with the system's reason in `reason` when it is not.
int makeProgramFilesFolder(QString* reason);

// Lets tests and benchmarks place the program's files in a folder of their
// own; an empty path restores the real executable's path.
void setModulePathForTesting(const QString& path);

}  // namespace belvorine
