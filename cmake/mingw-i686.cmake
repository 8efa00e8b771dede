# Cross-compiling for 32-bit Windows with Debian's g++-mingw-w64-i686: the program we ship.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TABBERN_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
