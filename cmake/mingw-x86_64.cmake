# Cross-compiling for 64-bit Windows with Debian's g++-mingw-w64-x86-64. The 32-bit program is
# the one we ship; this build exists so that the Windows code can be tested under wine64 (this
# machine's kernel runs no 32-bit programs).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TABBERN_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Tests and the program run under wine64. Debian keeps its loader outside PATH and puts a
# "wine" wrapper there that starts it when no 32-bit wine is installed.
find_program(TABBERN_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib/wine64 NO_DEFAULT_PATH)
find_program(TABBERN_WINE64 NAMES wine64 wine)
if(TABBERN_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TABBERN_WINE64})
endif()
