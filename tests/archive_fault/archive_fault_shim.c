/* The project's fault shim (tests/fault/fault_shim.c) with the calls that
 * SQLite makes besides those it counts: positioned reads and writes, file
 * truncation, and the no-replace rename that archiving uses. */
#include "../fault/fault_shim.c"

ssize_t pwrite64(int fd, const void* buffer, size_t size, off_t offset) {
    if (!watched(fd)) {
        return REAL(pwrite64)(fd, buffer, size, offset);
    }
    if (!may_write(fd, "pwrite", &size)) {
        return -1;
    }
    const long n = counter;
    const ssize_t done = REAL(pwrite64)(fd, buffer, size, offset);
    after(n);
    return done;
}

ssize_t pwrite(int fd, const void* buffer, size_t size, off_t offset) {
    return pwrite64(fd, buffer, size, offset);
}

ssize_t pread64(int fd, void* buffer, size_t size, off_t offset) {
    if (!watched(fd)) {
        return REAL(pread64)(fd, buffer, size, offset);
    }
    if (count("pread", names[fd], 0) == FAIL) {
        return -1;
    }
    const long n = counter;
    const ssize_t done = REAL(pread64)(fd, buffer, size, offset);
    after(n);
    return done;
}

ssize_t pread(int fd, void* buffer, size_t size, off_t offset) {
    return pread64(fd, buffer, size, offset);
}

int ftruncate64(int fd, off_t length) {
    if (watched(fd) && count("ftruncate", names[fd], 1) == FAIL) {
        return -1;
    }
    const long n = counter;
    const int result = REAL(ftruncate64)(fd, length);
    if (watched(fd)) {
        after(n);
    }
    return result;
}

int ftruncate(int fd, off_t length) {
    return ftruncate64(fd, length);
}

int renameat2(int fromfd, const char* from, int tofd, const char* to, unsigned int flags) {
    if (path_operation("rename", to, from) == FAIL) {
        return -1;
    }
    const long n = counter;
    const int result = REAL(renameat2)(fromfd, from, tofd, to, flags);
    if (inside(from) || inside(to)) {
        after(n);
    }
    return result;
}
