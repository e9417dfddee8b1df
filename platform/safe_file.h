#pragma once
// Replacing a file so that a crash or a full disk never leaves it truncated:
// the new content goes to a temporary file in the same folder, every write is
// counted, the file and then its folder are flushed to the disk around the
// rename over the target. Reading takes regular files only, up to a bound,
// so that a link to a device or a FIFO never hangs or exhausts the program.

#include <string>
#include <string_view>

#include <sys/types.h>

#include <QString>

namespace belvorine {

// Larger than any real history (100 000 rows take about 11 MB) or settings
// file by far.
inline constexpr long long kMaxReadBytes = 160LL * 1024 * 1024;

enum class FileRead {
    kRead,        // the whole file is in `content`
    kMissing,     // there is no such file
    kNotRegular,  // a folder, device, FIFO or socket (also behind a link)
    kTooLarge,    // more than the bound
    kFailed,      // it exists but could not be read whole
};

// Reads a whole regular file of at most `maxBytes` bytes. `content` is
// empty unless the result is kRead.
FileRead readFileBounded(const QString& path, std::string& content,
                         long long maxBytes = kMaxReadBytes);

// Writes `content` to `path` through a temporary file. Returns 1 when the
// target now holds exactly `content`, 0 otherwise; on failure the previous
// file is left whole and the temporary file is removed. `mode` is the file
// mode the new file gets (0444 makes it read-only). A target that is a
// symbolic link is replaced by the new file; nothing is written through it.
int replaceFileSafely(const QString& path, std::string_view content, mode_t mode = 0644);

// Copies `from` over `to` through replaceFileSafely. Returns 0 when `from`
// cannot be read whole or `to` cannot be written.
int copyFileSafely(const QString& from, const QString& to, mode_t mode = 0644);

// Reads a whole file (readFileBounded). Returns 1 and fills `content` on
// success; 0 when the file is missing, not a regular file, too large or
// cannot be read (content is then empty).
int readWholeFile(const QString& path, std::string& content);

// Size of a file in bytes; 0 when it is missing or cannot be examined.
long long fileSize(const QString& path);

// Changes the mode of `path` when it is a regular file of its own, never
// following a link. Returns 0 for anything else.
int setRegularFileMode(const QString& path, mode_t mode);

// Renames `path` to `to` within its folder (a link is renamed itself) and
// flushes the folder. Returns 0 when `to` exists or the rename failed.
int renameWithoutReplacing(const QString& path, const QString& to);

// Removes the temporary files that replaceFileSafely makes for `path`
// ("<path>.XXXXXX") and that a killed process left behind. Only regular
// files of exactly that form in the target's folder are removed.
void removeStaleTemporaries(const QString& path);

// Makes the next writes of replaceFileSafely fail after `bytes` more bytes,
// as a full disk does; a negative value switches the fault off. For tests.
void setWriteFaultForTesting(long long bytes);

}  // namespace belvorine
