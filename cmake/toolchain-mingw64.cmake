# SPDX-License-Identifier: GPL-3.0-or-later
# 64-bit Windows with mingw-w64 (Debian's g++-mingw-w64-x86-64-posix); tests run under Wine.
set(KELT_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
