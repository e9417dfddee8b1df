#pragma once
// One running instance per user: a lock that the OS releases when the
// process dies, so a crash never blocks the next start.

#include <QString>

namespace belvorine {

class SingleInstanceLock {
public:
    // Takes the lock named `name` in the user's runtime folder. Returns 1
    // when this process now holds it, 0 when another process does.
    int acquire(const QString& name);
    ~SingleInstanceLock();

    SingleInstanceLock() = default;
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // The file that carries the lock named `name`.
    static QString lockFilePath(const QString& name);

private:
    int fd_ = -1;
};

}  // namespace belvorine
