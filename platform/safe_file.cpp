#include "platform/safe_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

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

// write() that reports a short count the way a full disk does when the
// test fault budget runs out.
ssize_t countedWrite(int fd, const char* data, std::size_t size) {
    long long& budget = writeFaultBudget();
    if (budget >= 0) {
        if (budget == 0) {
            errno = ENOSPC;
            return -1;
        }
        if (static_cast<long long>(size) > budget) {
            size = static_cast<std::size_t>(budget);
        }
    }
    const ssize_t written = ::write(fd, data, size);
    if (written > 0 && budget >= 0) {
        budget -= written;
    }
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

FileRead readFileBounded(const QString& path, std::string& content, long long maxBytes) {
    content.clear();
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
    if (result == FileRead::kRead) {
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(info.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                result = FileRead::kFailed;
                break;
            }
            if (got == 0) {
                break;
            }
            if (static_cast<long long>(bytes.size()) + got > maxBytes) {
                result = FileRead::kTooLarge;
                break;
            }
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        if (result == FileRead::kRead) {
            content.swap(bytes);
        }
    }
    ::close(fd);
    return result;
}

int replaceFileSafely(const QString& path, std::string_view content, mode_t mode) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return 0;
    }
    const bool written = writeAll(fd, content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return 0;
    }
    syncFolderOf(target);
    return 1;
}

int copyFileSafely(const QString& from, const QString& to, mode_t mode) {
    std::string content;
    if (!readWholeFile(from, content)) {
        return 0;
    }
    return replaceFileSafely(to, content, mode);
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
