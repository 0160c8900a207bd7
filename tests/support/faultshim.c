/* A preload library that stops a process at, or fails, one of the system
 * calls by which it changes files, for the kill and fault tests.
 *
 * Counting begins when the process calls tarlen_fault_arm() (found with
 * dlsym, so a process without the library runs as usual). Counted are the
 * calls that change a regular file or a folder: open with O_CREAT or
 * O_TRUNC, write, pwrite, writev, ftruncate, fsync, fdatasync, rename,
 * unlink, mkdir.
 *
 *   TARLEN_KILL_AT=N     the N-th counted call ends the process (_exit 77),
 *   TARLEN_KILL_WHEN     "before" it is made (the default) or "after" it;
 *   TARLEN_FAIL_AT=N     the N-th counted call and every later one fail,
 *   TARLEN_FAIL_ERRNO    with this errno (28, no space, by default); a
 *                        removal (unlink) still succeeds, as on a full disk.
 *
 * tarlen_fault_count() answers how many calls were counted so far. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

static int armed;
static long counted;
static long killAt = -1, failAt = -1;
static int killAfter;
static int failErrno = ENOSPC;

static void configure(void)
{
    const char *v;
    if ((v = getenv("TARLEN_KILL_AT")))
        killAt = atol(v);
    if ((v = getenv("TARLEN_KILL_WHEN")))
        killAfter = strcmp(v, "after") == 0;
    if ((v = getenv("TARLEN_FAIL_AT")))
        failAt = atol(v);
    if ((v = getenv("TARLEN_FAIL_ERRNO")))
        failErrno = atoi(v);
}

void tarlen_fault_arm(void)
{
    configure();
    counted = 0;
    armed = 1;
}

long tarlen_fault_count(void)
{
    return counted;
}

static int isFileFd(int fd)
{
    struct stat st;
    return fd > 2 && fstat(fd, &st) == 0 && (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode));
}

/* Before a counted call: 0 to go on, -1 to fail it (errno set); may end the
 * process. `counts` is 2 for a call that may not fail (a removal). */
static int before(int counts)
{
    if (!armed || !counts)
        return 0;
    ++counted;
    if (counted == killAt && !killAfter)
        _exit(77);
    if (failAt > 0 && counted >= failAt && counts != 2) {
        errno = failErrno;
        return -1;
    }
    return 0;
}

static void after(int counts)
{
    if (armed && counts && counted == killAt && killAfter)
        _exit(77);
}

#define NEXT(name) static __typeof__(name) *next_##name; if (!next_##name) next_##name = dlsym(RTLD_NEXT, #name)

#define WRAP_FD(ret, name, params, args, fd)                                                                           \
    ret name params                                                                                                    \
    {                                                                                                                  \
        NEXT(name);                                                                                                    \
        const int counts = armed && isFileFd(fd);                                                                      \
        if (before(counts) < 0)                                                                                        \
            return -1;                                                                                                 \
        ret r = next_##name args;                                                                                      \
        after(counts);                                                                                                 \
        return r;                                                                                                      \
    }

WRAP_FD(ssize_t, write, (int fd, const void *buf, size_t n), (fd, buf, n), fd)
WRAP_FD(ssize_t, pwrite, (int fd, const void *buf, size_t n, off_t off), (fd, buf, n, off), fd)
WRAP_FD(ssize_t, pwrite64, (int fd, const void *buf, size_t n, off64_t off), (fd, buf, n, off), fd)
WRAP_FD(ssize_t, writev, (int fd, const struct iovec *iov, int n), (fd, iov, n), fd)
WRAP_FD(int, ftruncate, (int fd, off_t len), (fd, len), fd)
WRAP_FD(int, ftruncate64, (int fd, off64_t len), (fd, len), fd)
WRAP_FD(int, fsync, (int fd), (fd), fd)
WRAP_FD(int, fdatasync, (int fd), (fd), fd)

#define WRAP_PATH(name, params, args, kind)                                                                            \
    int name params                                                                                                    \
    {                                                                                                                  \
        NEXT(name);                                                                                                    \
        const int counts = armed ? kind : 0;                                                                                   \
        if (before(counts) < 0)                                                                                        \
            return -1;                                                                                                 \
        int r = next_##name args;                                                                                      \
        after(counts);                                                                                                 \
        return r;                                                                                                      \
    }

WRAP_PATH(rename, (const char *a, const char *b), (a, b), 1)
WRAP_PATH(renameat, (int da, const char *a, int db, const char *b), (da, a, db, b), 1)
WRAP_PATH(renameat2, (int da, const char *a, int db, const char *b, unsigned int f), (da, a, db, b, f), 1)
WRAP_PATH(unlink, (const char *p), (p), 2)
WRAP_PATH(unlinkat, (int d, const char *p, int f), (d, p, f), 2)
WRAP_PATH(mkdir, (const char *p, mode_t m), (p, m), 1)

#define WRAP_OPEN(name, params, args, flags)                                                                           \
    int name params                                                                                                    \
    {                                                                                                                  \
        NEXT(name);                                                                                                    \
        mode_t mode = 0;                                                                                               \
        if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {                                                                           \
            va_list ap;                                                                                                \
            va_start(ap, flags);                                                                                       \
            mode = va_arg(ap, mode_t);                                                                                 \
            va_end(ap);                                                                                                \
        }                                                                                                              \
        const int counts = armed && (flags & (O_CREAT | O_TRUNC));                                                     \
        if (before(counts) < 0)                                                                                        \
            return -1;                                                                                                 \
        int r = next_##name args;                                                                                      \
        after(counts);                                                                                                 \
        return r;                                                                                                      \
    }

WRAP_OPEN(open, (const char *p, int flags, ...), (p, flags, mode), flags)
WRAP_OPEN(open64, (const char *p, int flags, ...), (p, flags, mode), flags)
WRAP_OPEN(openat, (int d, const char *p, int flags, ...), (d, p, flags, mode), flags)
WRAP_OPEN(openat64, (int d, const char *p, int flags, ...), (d, p, flags, mode), flags)
