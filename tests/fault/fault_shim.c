/* Fault injection at every file operation on the program's files, loaded
 * with LD_PRELOAD into the fault scenario. Only operations on paths inside
 * BELVORINE_FAULT_DIR (and on descriptors opened there) count; they are
 * numbered from 1 and, when BELVORINE_FAULT_LOG names a file, written to it
 * one per line ("<n> <operation> <path>").
 *
 * BELVORINE_FAULT_AT=<n> and BELVORINE_FAULT_MODE choose the fault:
 *   eio-once, eio-always     operation n (and every later one) fails with EIO
 *   enospc-always            from operation n on, every operation that needs
 *                            room (create, write, fsync) fails with ENOSPC
 *   short-once               write n writes half its bytes, later writes of
 *                            the same file fail with ENOSPC
 *   kill-before, kill-after  the process is killed just before (after)
 *                            operation n
 * An injected fault is logged as "fault <n> <mode>". */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#define MAX_FDS 4096

static char folder[4096];
static size_t folder_length;
static long fault_at;
static const char* mode = "";
static int log_fd = -1;
static long counter;
static char tracked[MAX_FDS];
static char names[MAX_FDS][256];
static int short_fd = -1;
static int initialised;

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

static void initialise(void) {
    if (initialised) {
        return;
    }
    initialised = 1;
    const char* dir = getenv("BELVORINE_FAULT_DIR");
    if (dir && *dir) {
        snprintf(folder, sizeof folder, "%s/", dir);
        folder_length = strlen(folder);
    }
    const char* at = getenv("BELVORINE_FAULT_AT");
    fault_at = at ? atol(at) : 0;
    const char* chosen = getenv("BELVORINE_FAULT_MODE");
    mode = chosen ? chosen : "";
    const char* log = getenv("BELVORINE_FAULT_LOG");
    if (log && *log) {
        log_fd = REAL(open)(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }
}

static int inside(const char* path) {
    initialise();
    return folder_length > 0 && path && strncmp(path, folder, folder_length) == 0;
}

static int watched(int fd) {
    return fd >= 0 && fd < MAX_FDS && tracked[fd];
}

static void note(const char* text) {
    if (log_fd >= 0) {
        ssize_t ignored = REAL(write)(log_fd, text, strlen(text));
        (void)ignored;
    }
}

static int mode_is(const char* name) {
    return strcmp(mode, name) == 0;
}

enum { NO_FAULT = 0, FAIL = 1, SHORT = 2 };

/* Counts one operation; kills the process for the kill modes (before) and
 * says whether this operation fails. `needs_room` marks creating, writing
 * and flushing. */
static int count(const char* operation, const char* path, int needs_room) {
    const long n = ++counter;
    char line[512];
    snprintf(line, sizeof line, "%ld %s %s\n", n, operation, path ? path : "");
    note(line);
    if (fault_at <= 0 || n < fault_at) {
        return NO_FAULT;
    }
    if (n == fault_at) {
        snprintf(line, sizeof line, "fault %ld %s\n", n, mode);
        note(line);
        if (mode_is("kill-before")) {
            raise(SIGKILL);
        }
    }
    if (mode_is("eio-always") || (mode_is("eio-once") && n == fault_at)) {
        errno = EIO;
        return FAIL;
    }
    if (mode_is("enospc-always") && needs_room) {
        errno = ENOSPC;
        return FAIL;
    }
    if (mode_is("short-once") && n == fault_at) {
        return SHORT;
    }
    return NO_FAULT;
}

static void after(long n) {
    if (fault_at > 0 && n == fault_at && mode_is("kill-after")) {
        raise(SIGKILL);
    }
}

static void track(int fd, const char* path) {
    if (fd >= 0 && fd < MAX_FDS) {
        tracked[fd] = 1;
        snprintf(names[fd], sizeof names[fd], "%s", path);
    }
}

static int do_open(int dirfd, const char* path, int flags, mode_t perms, int at) {
    const int watch = inside(path);
    const int room = (flags & (O_CREAT | O_TRUNC)) != 0;
    if (watch && count(room ? "open-write" : "open-read", path, room) == FAIL) {
        return -1;
    }
    const long n = counter;
    const int fd = at ? REAL(openat)(dirfd, path, flags, perms) : REAL(open)(path, flags, perms);
    if (watch) {
        track(fd, path);
        after(n);
    }
    return fd;
}

static mode_t mode_argument(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(args, int) : 0;
}

int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t perms = mode_argument(flags, args);
    va_end(args);
    return do_open(AT_FDCWD, path, flags, perms, 0);
}

int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t perms = mode_argument(flags, args);
    va_end(args);
    return do_open(AT_FDCWD, path, flags, perms, 0);
}

int openat(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t perms = mode_argument(flags, args);
    va_end(args);
    return do_open(dirfd, path, flags, perms, 1);
}

int openat64(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t perms = mode_argument(flags, args);
    va_end(args);
    return do_open(dirfd, path, flags, perms, 1);
}

int __open_2(const char* path, int flags) {
    return do_open(AT_FDCWD, path, flags, 0, 0);
}

int __open64_2(const char* path, int flags) {
    return do_open(AT_FDCWD, path, flags, 0, 0);
}

static int do_mkstemp(char* pattern, int flags, int with_flags) {
    const int watch = inside(pattern);
    if (watch && count("mkstemp", pattern, 1) == FAIL) {
        return -1;
    }
    const long n = counter;
    const int fd = with_flags ? REAL(mkostemp)(pattern, flags) : REAL(mkstemp)(pattern);
    if (watch) {
        track(fd, pattern);
        after(n);
    }
    return fd;
}

int mkstemp(char* pattern) {
    return do_mkstemp(pattern, 0, 0);
}

int mkstemp64(char* pattern) {
    return do_mkstemp(pattern, 0, 0);
}

int mkostemp(char* pattern, int flags) {
    return do_mkstemp(pattern, flags, 1);
}

int mkostemp64(char* pattern, int flags) {
    return do_mkstemp(pattern, flags, 1);
}

ssize_t read(int fd, void* buffer, size_t size) {
    if (!watched(fd)) {
        return REAL(read)(fd, buffer, size);
    }
    if (count("read", names[fd], 0) == FAIL) {
        return -1;
    }
    const long n = counter;
    const ssize_t done = REAL(read)(fd, buffer, size);
    after(n);
    return done;
}

/* Counts a write of `size` bytes into one of our files; a short write
 * halves it and makes the file's later writes fail. 0: the write fails. */
static int may_write(int fd, const char* operation, size_t* size) {
    if (fd == short_fd) {
        errno = ENOSPC;
        return 0;
    }
    const int fault = count(operation, names[fd], 1);
    if (fault == FAIL) {
        return 0;
    }
    if (fault == SHORT) {
        short_fd = fd;
        *size /= 2;
        if (*size == 0) {
            errno = ENOSPC;
            return 0;
        }
    }
    return 1;
}

ssize_t write(int fd, const void* buffer, size_t size) {
    if (!watched(fd)) {
        return REAL(write)(fd, buffer, size);
    }
    if (!may_write(fd, "write", &size)) {
        return -1;
    }
    const long n = counter;
    const ssize_t done = REAL(write)(fd, buffer, size);
    after(n);
    return done;
}

/* A kernel copy into one of our files is a write of it; out of one, a read. */
ssize_t copy_file_range(int in, off_t* in_offset, int out, off_t* out_offset, size_t size,
                        unsigned int flags) {
    if (!watched(in) && !watched(out)) {
        return REAL(copy_file_range)(in, in_offset, out, out_offset, size, flags);
    }
    if (watched(out) ? !may_write(out, "copy-write", &size)
                     : count("copy-read", names[in], 0) == FAIL) {
        return -1;
    }
    const long n = counter;
    const ssize_t done = REAL(copy_file_range)(in, in_offset, out, out_offset, size, flags);
    after(n);
    return done;
}

static int flush(int fd, int data_only) {
    if (watched(fd) && count(data_only ? "fdatasync" : "fsync", names[fd], 1) == FAIL) {
        return -1;
    }
    const long n = counter;
    const int result = data_only ? REAL(fdatasync)(fd) : REAL(fsync)(fd);
    if (watched(fd)) {
        after(n);
    }
    return result;
}

int fsync(int fd) {
    return flush(fd, 0);
}

int fdatasync(int fd) {
    return flush(fd, 1);
}

int close(int fd) {
    if (!watched(fd)) {
        return REAL(close)(fd);
    }
    tracked[fd] = 0;
    if (fd == short_fd) {
        short_fd = -1;
    }
    /* The descriptor is gone even when close reports an error. */
    const int fault = count("close", names[fd], 0);
    const long n = counter;
    const int result = REAL(close)(fd);
    after(n);
    if (fault == FAIL) {
        errno = EIO;
        return -1;
    }
    return result;
}

static int path_operation(const char* operation, const char* path, const char* other) {
    if (!inside(path) && !inside(other)) {
        return NO_FAULT;
    }
    return count(operation, inside(path) ? path : other, 0);
}

int rename(const char* from, const char* to) {
    if (path_operation("rename", to, from) == FAIL) {
        return -1;
    }
    const long n = counter;
    const int result = REAL(rename)(from, to);
    if (inside(from) || inside(to)) {
        after(n);
    }
    return result;
}

int renameat(int fromfd, const char* from, int tofd, const char* to) {
    if (path_operation("rename", to, from) == FAIL) {
        return -1;
    }
    const long n = counter;
    const int result = REAL(renameat)(fromfd, from, tofd, to);
    if (inside(from) || inside(to)) {
        after(n);
    }
    return result;
}

int unlink(const char* path) {
    if (path_operation("unlink", path, NULL) == FAIL) {
        return -1;
    }
    const long n = counter;
    const int result = REAL(unlink)(path);
    if (inside(path)) {
        after(n);
    }
    return result;
}

int chmod(const char* path, mode_t perms) {
    if (path_operation("chmod", path, NULL) == FAIL) {
        return -1;
    }
    const long n = counter;
    const int result = REAL(chmod)(path, perms);
    if (inside(path)) {
        after(n);
    }
    return result;
}

int fchmod(int fd, mode_t perms) {
    if (watched(fd) && count("fchmod", names[fd], 0) == FAIL) {
        return -1;
    }
    const long n = counter;
    const int result = REAL(fchmod)(fd, perms);
    if (watched(fd)) {
        after(n);
    }
    return result;
}
