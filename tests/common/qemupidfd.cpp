// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into the test programs of a cross build that run under qemu-user (tests/CMakeLists.txt).
// Debian 12's qemu 7.2 passes waitid(P_PIDFD) through to the kernel but refuses clone() with
// CLONE_PIDFD, so Qt takes process file descriptors to be there and every QProcess start fails.
// Refusing P_PIDFD here sends Qt to its plain fork, which qemu runs.
#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <sys/syscall.h>
#include <unistd.h>

extern "C" long syscall(long number, ...) noexcept {
    va_list list;
    va_start(list, number);
    long a[6];
    for (long& x : a)
        x = va_arg(list, long);
    va_end(list);
    constexpr long PidfdType = 3; // P_PIDFD
    if (number == SYS_waitid && a[0] == PidfdType) {
        errno = EINVAL;
        return -1;
    }
    using Call = long (*)(long, ...);
    static const auto next = reinterpret_cast<Call>(dlsym(RTLD_NEXT, "syscall"));
    return next(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}
