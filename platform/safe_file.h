#pragma once
// Replacing a file so that a crash or a full disk never leaves it truncated:
// the new content goes to a temporary file in the same folder, every write is
// counted, the file is flushed to the disk and then renamed over the target.

#include <string>
#include <string_view>

#include <sys/types.h>

#include <QString>

namespace belvorine {

// Writes `content` to `path` through a temporary file. Returns 1 when the
// target now holds exactly `content`, 0 otherwise; on failure the previous
// file is left whole and the temporary file is removed. `mode` is the file
// mode the new file gets (0444 makes it read-only).
int replaceFileSafely(const QString& path, std::string_view content, mode_t mode = 0644);

// Copies `from` over `to` through replaceFileSafely. Returns 0 when `from`
// cannot be read whole or `to` cannot be written.
int copyFileSafely(const QString& from, const QString& to, mode_t mode = 0644);

// Reads a whole file. Returns 1 and fills `content` on success; 0 when the
// file is missing or cannot be read (content is then empty).
int readWholeFile(const QString& path, std::string& content);

// Size of a file in bytes; 0 when it is missing or cannot be examined.
long long fileSize(const QString& path);

// Makes the next writes of replaceFileSafely fail after `bytes` more bytes,
// as a full disk does; a negative value switches the fault off. For tests.
void setWriteFaultForTesting(long long bytes);

}  // namespace belvorine
