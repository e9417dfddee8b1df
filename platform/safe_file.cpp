#include "platform/safe_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace belvorine {
namespace {

constexpr int kTemporarySuffixLength = 6;  // the XXXXXX of mkstemp

long long& writeFaultBudget() {
    static long long budget = -1;
    return budget;
}

// How much of `size` bytes the test fault budget lets through; 0 with
// errno ENOSPC once it ran out, as on a full disk.
std::size_t allowedBytes(std::size_t size) {
    const long long budget = writeFaultBudget();
    if (budget < 0) {
        return size;
    }
    if (budget == 0) {
        errno = ENOSPC;
    }
    return static_cast<std::size_t>(std::min(static_cast<long long>(size), budget));
}

void spend(ssize_t written) {
    long long& budget = writeFaultBudget();
    if (written > 0 && budget >= 0) {
        budget -= written;
    }
}

// write() that reports a short count the way a full disk does when the
// test fault budget runs out.
ssize_t countedWrite(int fd, const char* data, std::size_t size) {
    size = allowedBytes(size);
    if (size == 0) {
        return -1;
    }
    const ssize_t written = ::write(fd, data, size);
    spend(written);
    return written;
}

int writeAll(int fd, std::string_view content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t written = countedWrite(fd, content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return 0;
        }
        done += static_cast<std::size_t>(written);
    }
    return 1;
}

// A rename is only durable once its folder is on the disk. Some file
// systems refuse to sync a folder; the rename itself has happened then.
void syncFolderOf(const QByteArray& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Copies bytes `from` to `from + bytes` of `in` to `out` in the kernel;
// where it cannot (another file system on an older kernel), through a
// buffer.
bool copyRange(int in, int out, long long from, long long bytes) {
    if (from < 0 || bytes < 0) {
        return false;
    }
    off_t offset = static_cast<off_t>(from);
    const long long end = from + bytes;
    bool inKernel = true;
    while (offset < end) {
        const std::size_t size = allowedBytes(
            static_cast<std::size_t>(std::min(end - static_cast<long long>(offset), 1LL << 30)));
        if (size == 0) {
            return false;
        }
        if (inKernel) {
            const ssize_t copied = ::copy_file_range(in, &offset, out, nullptr, size, 0);
            if (copied < 0 &&
                (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL)) {
                inKernel = false;
                continue;
            }
            if (copied < 0 && errno == EINTR) {
                continue;
            }
            if (copied <= 0) {
                return false;  // failed, or the file is shorter than it was
            }
            spend(copied);
            continue;
        }
        char buffer[65536];
        const ssize_t got = ::pread(in, buffer, std::min(size, sizeof buffer), offset);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0 || !writeAll(out, std::string_view(buffer, static_cast<std::size_t>(got)))) {
            return false;
        }
        offset += got;
    }
    return true;
}

FileStamp stampOf(const struct stat& info) {
    return FileStamp{
        info.st_dev, info.st_ino, static_cast<long long>(info.st_size),
        static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
}

bool isTemporarySuffix(QStringView suffix) {
    if (suffix.size() != kTemporarySuffixLength) {
        return false;
    }
    for (const QChar c : suffix) {
        if (!(c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
              (c >= QLatin1Char('A') && c <= QLatin1Char('Z')))) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool FileSink::write(std::string_view piece) {
    return writeAll(fd_, piece) != 0;
}

bool FileSink::copy(const ReadFile& from, long long offset, long long bytes) {
    return from.isOpen() && copyRange(from.descriptor(), fd_, offset, bytes);
}

// Makes a temporary file beside `path`, lets `fill` write it, and renames it
// over `path`; flushed to the disk with the folder when it must outlive a
// power loss.
namespace {

// Fills a new file beside `target` and renames it to `target`: over an
// existing one, or with RENAME_NOREPLACE in `renameFlags` never over one.
// A file not made whole is removed; errno then says why.
bool writeThroughTemporary(const QByteArray& target, const FileFiller& fill, mode_t mode,
                           bool durable, unsigned renameFlags, FileStamp* written) {
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    FileSink sink(fd);
    bool done = fill(sink) && ::fchmod(fd, mode) == 0 && (!durable || ::fsync(fd) == 0) &&
                ::fstat(fd, &info) == 0;
    int error = errno;
    if (::close(fd) != 0 && done) {
        done = false;
        error = errno;
    }
    if (done) {
        const int renamed = renameFlags == 0
                                ? ::rename(temporary.constData(), target.constData())
                                : ::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD,
                                              target.constData(), renameFlags);
        if (renamed != 0) {
            done = false;
            error = errno;
        }
    }
    if (!done) {
        ::unlink(temporary.constData());
        errno = error;
        return false;
    }
    if (durable) {
        syncFolderOf(target);
    }
    if (written != nullptr) {
        *written = stampOf(info);
    }
    return true;
}

}  // namespace

int replaceFileWith(const QString& path, const FileFiller& fill, mode_t mode, Durability durability,
                    FileStamp* written) {
    return writeThroughTemporary(QFile::encodeName(path), fill, mode,
                                 durability == Durability::kPowerLoss, 0, written)
               ? 1
               : 0;
}

ReadFile::ReadFile(ReadFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), maxBytes_(other.maxBytes_), stamp_(other.stamp_) {}

ReadFile& ReadFile::operator=(ReadFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
        maxBytes_ = other.maxBytes_;
        stamp_ = other.stamp_;
    }
    return *this;
}

ReadFile::~ReadFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FileRead ReadFile::open(const QString& path, long long maxBytes) {
    *this = ReadFile();
    maxBytes_ = maxBytes;
    // Non-blocking, so that opening a FIFO never waits for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT || errno == ENOTDIR ? FileRead::kMissing : FileRead::kFailed;
    }
    struct stat info {};
    FileRead result = FileRead::kRead;
    if (::fstat(fd, &info) != 0) {
        result = FileRead::kFailed;
    } else if (!S_ISREG(info.st_mode)) {
        result = FileRead::kNotRegular;
    } else if (info.st_size > maxBytes) {
        result = FileRead::kTooLarge;
    }
    if (result != FileRead::kRead) {
        ::close(fd);
        return result;
    }
    fd_ = fd;
    stamp_ = stampOf(info);
    return result;
}

FileRead ReadFile::read(std::string& content) const {
    content.clear();
    if (fd_ < 0) {
        return FileRead::kFailed;
    }
    // Read straight into the one buffer; a file that grew since it was
    // opened makes the buffer grow, within the bound.
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(std::max(stamp_.size, 0LL)) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (static_cast<long long>(done) > maxBytes_) {
                return FileRead::kTooLarge;
            }
            bytes.resize(std::min(bytes.size() * 2, static_cast<std::size_t>(maxBytes_) + 1));
        }
        const ssize_t got =
            ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return FileRead::kFailed;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    if (static_cast<long long>(done) > maxBytes_) {
        return FileRead::kTooLarge;
    }
    bytes.resize(done);
    content.swap(bytes);
    return FileRead::kRead;
}

FileRead readFileBounded(const QString& path, std::string& content, long long maxBytes) {
    content.clear();
    ReadFile file;
    const FileRead opened = file.open(path, maxBytes);
    return opened == FileRead::kRead ? file.read(content) : opened;
}

int replaceFileSafely(const QString& path, std::string_view content, mode_t mode,
                      Durability durability, FileStamp* written) {
    return replaceFileWith(
        path, [content](FileSink& sink) { return sink.write(content); }, mode, durability, written);
}

int copyFileSafely(const ReadFile& from, long long bytes, const QString& to, mode_t mode,
                   Durability durability, FileStamp* written) {
    if (!from.isOpen() || bytes < 0) {
        return 0;
    }
    return replaceFileWith(
        to, [&from, bytes](FileSink& sink) { return sink.copy(from, 0, bytes); }, mode, durability,
        written);
}

bool holdsCopyOf(const QString& path, const ReadFile& from, long long bytes, mode_t mode) {
    if (!from.isOpen() || bytes < 0) {
        return false;
    }
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    bool same = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                (info.st_mode & 07777) == mode && info.st_size == bytes;
    constexpr std::size_t kChunk = 256 * 1024;
    std::string mine(kChunk, '\0');
    std::string theirs(kChunk, '\0');
    for (long long at = 0; same && at < bytes;) {
        const auto size = static_cast<std::size_t>(std::min<long long>(kChunk, bytes - at));
        const ssize_t got = ::pread(fd, mine.data(), size, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        same = got == static_cast<ssize_t>(size) &&
               ::pread(from.descriptor(), theirs.data(), size, static_cast<off_t>(at)) == got &&
               std::memcmp(mine.data(), theirs.data(), size) == 0;
        at += got;
    }
    ::close(fd);
    return same;
}

int readWholeFile(const QString& path, std::string& content) {
    return readFileBounded(path, content) == FileRead::kRead ? 1 : 0;
}

long long fileSize(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return 0;
    }
    return static_cast<long long>(info.st_size);
}

int setRegularFileMode(const QString& path, mode_t mode) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    struct stat info {};
    const bool changed =
        ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::fchmod(fd, mode) == 0;
    ::close(fd);
    return changed ? 1 : 0;
}

int renameWithoutReplacing(const QString& path, const QString& to) {
    const QByteArray from = QFile::encodeName(path);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) !=
        0) {
        return 0;
    }
    syncFolderOf(target);
    return 1;
}

NewFile createFileSafely(const QString& path, std::string_view content, mode_t mode) {
    const auto fill = [content](FileSink& sink) { return sink.write(content); };
    if (writeThroughTemporary(QFile::encodeName(path), fill, mode, true, RENAME_NOREPLACE,
                              nullptr)) {
        return NewFile::kCreated;
    }
    return errno == EEXIST ? NewFile::kExists : NewFile::kFailed;
}

void removeStaleTemporaries(const QString& path) {
    const QFileInfo target(path);
    const QString prefix = target.fileName() + QLatin1Char('.');
    const QDir folder = target.absoluteDir();
    const QStringList names = folder.entryList(QStringList{prefix + QStringLiteral("*")},
                                               QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!isTemporarySuffix(QStringView(name).mid(prefix.size()))) {
            continue;
        }
        const QByteArray file = QFile::encodeName(folder.filePath(name));
        struct stat info {};
        if (::lstat(file.constData(), &info) == 0 && S_ISREG(info.st_mode)) {
            ::unlink(file.constData());
        }
    }
}

void setWriteFaultForTesting(long long bytes) {
    writeFaultBudget() = bytes;
}

}  // namespace belvorine
