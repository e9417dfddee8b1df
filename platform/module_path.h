#pragma once
// The program's files lie beside its executable and are named after it.

#include <QString>

namespace belvorine {

// The program's own file path with its three-letter extension replaced by
// `extension` ("dat", "ovd", ...). A file name without a three-letter
// extension gets "." and the extension appended (belvorine -> belvorine.dat).
QString modulePathWithExtension(const QString& extension);

// The same rule applied to any path; modulePathWithExtension uses it.
QString replaceExtension(const QString& path, const QString& extension);

// The executable's path (the real one unless a test has set another).
QString modulePath();

// Lets tests and benchmarks place the program's files in a folder of their
// own; an empty path restores the real executable's path.
void setModulePathForTesting(const QString& path);

}  // namespace belvorine
