# The Windows program's own tests (helpers, platform services, the link check's fetcher, the form
# windows), run under wine64 in the x86_64 build. Included by platform/win32 after GoogleTest.
add_executable(tabbern_win32_tests ${CMAKE_CURRENT_LIST_DIR}/WindowTest.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/PlatformTest.cpp
                                   ${PROJECT_SOURCE_DIR}/tests/support/TempDir.cpp)
target_link_libraries(tabbern_win32_tests PRIVATE tabbern_win32 tabbern_local_http GTest::gtest
                                                  GTest::gtest_main)
target_include_directories(tabbern_win32_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_compile_options(tabbern_win32_tests PRIVATE ${TABBERN_WARNINGS})
# The window tests need a display: under wine they get a virtual one of their own when xvfb-run
# is there (they skip themselves without one).
find_program(TABBERN_XVFB_RUN xvfb-run)
if(CMAKE_CROSSCOMPILING_EMULATOR AND TABBERN_XVFB_RUN)
    add_test(NAME tabbern_win32_tests
             COMMAND ${TABBERN_XVFB_RUN} -a ${CMAKE_CROSSCOMPILING_EMULATOR}
                     $<TARGET_FILE:tabbern_win32_tests>)
else()
    add_test(NAME tabbern_win32_tests COMMAND tabbern_win32_tests)
endif()
# The same wine prefix as the core's tests, never the user's own.
set_tests_properties(tabbern_win32_tests PROPERTIES
    ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;WINEDEBUG=-all")
