# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building for 64-bit ARM Linux (Raspberry Pi OS 64-bit, Debian arm64) with Debian's
# cross-compiler and the arm64 Qt development packages installed beside the amd64 ones
# (scripts/arm64.sh). moc, uic and rcc are the build machine's own (QT_HOST_PATH).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(PKG_CONFIG_EXECUTABLE /usr/bin/aarch64-linux-gnu-pkg-config)
set(QT_HOST_PATH /usr CACHE PATH "Where the build machine's Qt tools are")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Their CMake files")
