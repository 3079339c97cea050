# SPDX-License-Identifier: GPL-3.0-or-later
# What both Windows targets share; KELT_MINGW_TRIPLE names the target.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KELT_MINGW_TRIPLE})
# The posix thread model: std::thread and std::mutex need it.
set(CMAKE_C_COMPILER ${KELT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KELT_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KELT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static runtime: the programs need no DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
