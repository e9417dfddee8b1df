#pragma once
// The files that the whole-process benchmarks find beside themselves.

namespace belvorine {

// Writes, beside the program, the settings and layout files (factory
// values; format 1 makes the acknowledgement too) and a history of `rows`
// rows as data file and backup. Returns 0 when a file could not be written.
int prepareProgramFolder(int rows);

}  // namespace belvorine
