# Shared by the MinGW-w64 toolchain files; TABBERN_MINGW_TRIPLE names the target first.
set(CMAKE_SYSTEM_NAME Windows)

# The POSIX threading flavour of Debian's MinGW compilers: its standard library has std::thread,
# which the other flavour of GCC 12 lacks. Linked statically it needs no DLL of its own.
set(CMAKE_C_COMPILER ${TABBERN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TABBERN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TABBERN_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TABBERN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained program: the C++ runtime, libgcc and winpthread are linked in, so that
# nothing but system DLLs has to lie beside tabbern.exe.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
