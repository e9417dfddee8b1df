#pragma once
// Replacing a file so that a crash or a full disk never leaves it truncated:
// the new content goes to a temporary file in the same folder, every write is
// counted, and the temporary file is renamed over the target; a file that
// must outlive a power loss is flushed to the disk with its folder around
// the rename. Reading takes regular files only, up to a bound, so that a link
// to a device or a FIFO never hangs or exhausts the program.

#include <functional>
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

// What a replaced file must survive.
enum class Durability {
    kPowerLoss,  // flushed to the disk with its folder (histories, settings, layouts)
    kCrash,      // renamed into place only: a file that a crash makes worthless anyway
};

// The version of a file that the program last read or wrote: a file changed
// since, in place or replaced, has another stamp.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    long long size = -1;  // -1: no file
    long long modifiedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// A regular file of at most a bounded size, open for reading.
class ReadFile {
public:
    ReadFile() = default;
    ReadFile(ReadFile&& other) noexcept;
    ReadFile& operator=(ReadFile&& other) noexcept;
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;
    ~ReadFile();

    // kRead when the file is open.
    FileRead open(const QString& path, long long maxBytes = kMaxReadBytes);
    // Reads it whole into `content` (one buffer, from its start).
    FileRead read(std::string& content) const;
    bool isOpen() const { return fd_ >= 0; }
    int descriptor() const { return fd_; }
    const FileStamp& stamp() const { return stamp_; }

private:
    int fd_ = -1;
    long long maxBytes_ = kMaxReadBytes;
    FileStamp stamp_;
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
// `written`, when given, receives the new file's stamp.
int replaceFileSafely(const QString& path, std::string_view content, mode_t mode = 0644,
                      Durability durability = Durability::kPowerLoss, FileStamp* written = nullptr);

// Where a FileFiller puts the new content, in order: texts, or byte ranges
// of an open file, copied in the kernel.
class FileSink {
public:
    explicit FileSink(int fd) : fd_(fd) {}
    bool write(std::string_view piece);
    // Bytes `offset` to `offset + bytes` of `from`; false when `from` holds
    // fewer bytes or the copy failed.
    bool copy(const ReadFile& from, long long offset, long long bytes);

private:
    int fd_;
};

// The same, for content made piece by piece: `fill` hands every piece to
// `sink` in turn and returns false to give up.
using FileFiller = std::function<bool(FileSink& sink)>;
int replaceFileWith(const QString& path, const FileFiller& fill, mode_t mode = 0644,
                    Durability durability = Durability::kPowerLoss, FileStamp* written = nullptr);

// Copies the first `bytes` bytes of an open file over `to` the way
// replaceFileSafely writes, in the kernel (copy_file_range). Returns 0 when
// the file holds fewer bytes or `to` cannot be written.
int copyFileSafely(const ReadFile& from, long long bytes, const QString& to, mode_t mode = 0644,
                   Durability durability = Durability::kPowerLoss, FileStamp* written = nullptr);

// True when `path` is a regular file of its own (not a link) with mode
// `mode` that holds exactly the first `bytes` bytes of `from`: copying them
// over it with copyFileSafely would change nothing.
bool holdsCopyOf(const QString& path, const ReadFile& from, long long bytes, mode_t mode);

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

enum class NewFile {
    kCreated,  // `path` holds exactly the content, on the disk
    kExists,   // a file of that name is there already; it is left alone
    kFailed,   // could not be written (errno says why); nothing is left
};

// Writes `content` to a new file `path` through a temporary file, flushed
// to the disk with its folder; never replaces a file that is there, so two
// writers of the same name both keep their files.
NewFile createFileSafely(const QString& path, std::string_view content, mode_t mode = 0644);

// Removes the temporary files that replaceFileSafely makes for `path`
// ("<path>.XXXXXX") and that a killed process left behind. Only regular
// files of exactly that form in the target's folder are removed.
void removeStaleTemporaries(const QString& path);

// Makes the next writes of replaceFileSafely fail after `bytes` more bytes,
// as a full disk does; a negative value switches the fault off. For tests.
void setWriteFaultForTesting(long long bytes);

}  // namespace belvorine
