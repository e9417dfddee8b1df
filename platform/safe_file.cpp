#include "platform/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include <QFile>

namespace belvorine {
namespace {

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

}  // namespace

int replaceFileSafely(const QString& path, std::string_view content, mode_t mode) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return 0;
    }
    const bool written = writeAll(fd, content) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::chmod(temporary.constData(), mode) != 0 ||
        ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return 0;
    }
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
    content.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return 0;
    }
    content.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return 1;
}

long long fileSize(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return 0;
    }
    return static_cast<long long>(info.st_size);
}

void setWriteFaultForTesting(long long bytes) {
    writeFaultBudget() = bytes;
}

}  // namespace belvorine
