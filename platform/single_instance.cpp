#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

namespace belvorine {

QString SingleInstanceLock::lockFilePath(const QString& name) {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists()) {
        // Without a runtime folder the temporary folder is shared by all
        // users, so the user id keeps their locks apart.
        folder = QDir::tempPath();
        return folder + QStringLiteral("/%1-%2.lock").arg(name).arg(::getuid());
    }
    return folder + QStringLiteral("/%1.lock").arg(name);
}

int SingleInstanceLock::acquire(const QString& name) {
    if (fd_ >= 0) {
        return 1;
    }
    const QByteArray path = QFile::encodeName(lockFilePath(name));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // A lock that cannot be made must not keep the user from working.
        return 1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return 0;
    }
    fd_ = fd;
    return 1;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

}  // namespace belvorine
