# Windows build: the real platform, the two programs and the Win32 tests.
enable_language(RC)
enable_testing()
if(MINGW)
  # One folder, no extra DLLs: the runtime goes inside each program.
  add_link_options(-static -static-libgcc -static-libstdc++)
else()
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()

hopla_sources(WIN32_SOURCES src/platform/win32)
add_library(hopla_win32 STATIC ${WIN32_SOURCES})
target_link_libraries(hopla_win32 PUBLIC hopla_core
                      comctl32 uuid ole32 oleaut32 shell32 advapi32
                      user32 gdi32 kernel32)

set(HOPLA_RESOURCES ${CMAKE_SOURCE_DIR}/resources/hopla.rc)

# The entries are a portable main(): a windowed program's start-up calls it
# with MinGW; the Microsoft linker must be told to (it looks for WinMain).
add_executable(Hopla WIN32 src/main/hopla.cpp ${HOPLA_RESOURCES})
target_link_libraries(Hopla PRIVATE hopla_win32)
add_executable(Hopla-testswitch WIN32 src/main/hopla_testswitch.cpp
               ${HOPLA_RESOURCES})
target_link_libraries(Hopla-testswitch PRIVATE hopla_win32)
if(MSVC)
  foreach(program Hopla Hopla-testswitch)
    target_link_options(${program} PRIVATE /ENTRY:mainCRTStartup)
  endforeach()
endif()

# An outside driver that presses Hopla-testswitch's switch (docs/testing.md).
add_executable(hopla-press tools/press-switch.cpp)
target_include_directories(hopla-press PRIVATE ${CMAKE_SOURCE_DIR}/src)

# The sounds live beside the programs.
foreach(sound pu.wav Pomclick.wav)
  add_custom_command(TARGET Hopla POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${CMAKE_SOURCE_DIR}/resources/${sound} $<TARGET_FILE_DIR:Hopla>/${sound})
endforeach()

# The real program seen from outside, for the Wine tests and the benches
# alike: bounded waits, child programs, message boxes, the test switch's
# driver, Hopla-testswitch.exe and the input logger run from outside.
add_library(hopla_wine_kit STATIC tests/win32/wine_helpers.cpp
            tests/win32/hopla_program.cpp tests/win32/in_process_hopla.cpp)
target_include_directories(hopla_wine_kit PUBLIC ${CMAKE_SOURCE_DIR}/tests/win32)
target_link_libraries(hopla_wine_kit PUBLIC hopla_win32)
target_compile_definitions(hopla_wine_kit PRIVATE
  HOPLA_EXE_DIR="$<TARGET_FILE_DIR:Hopla>")

# Cursor speed at each SpeedBar position against the speed map, under Wine:
# bench/speed.sh runs it. Not a test.
add_executable(hopla-speed-bench bench/speed_bench.cpp)
target_link_libraries(hopla-speed-bench PRIVATE hopla_win32)

# A window of another program that logs the events it gets and answers the
# accessibility query with a push button in one region: the black-box tests'
# target and the brake bench's foreign window. Defined here, before the test
# section, so the bench has it also where GoogleTest is missing.
add_executable(hopla-input-logger tests/win32/peer/input_logger.cpp)
target_link_libraries(hopla-input-logger PRIVATE uuid oleacc ole32 oleaut32)

# The brake's cost and reach: the probe's time over another program's window,
# the walking speed with the brake on over plain ground, and how far the
# cursor gets into a braked element before it slows. bench/brake.sh runs it.
add_executable(hopla-brake-bench bench/brake_bench.cpp)
target_link_libraries(hopla-brake-bench PRIVATE hopla_wine_kit)
add_dependencies(hopla-brake-bench hopla-input-logger)

# When a press becomes long in the whole program, against LongPressTicks x
# PollInterval: bench/press.sh runs it. With the programs' resources, so the
# window it runs is the real one, manifest and icon included.
add_executable(hopla-press-bench bench/press_bench.cpp ${HOPLA_RESOURCES})
target_link_libraries(hopla-press-bench PRIVATE hopla_wine_kit)

# The search for JoyToKey over a tree of 100,000 folders and files, and how
# fast the window answers meanwhile: bench/search.sh runs it.
add_executable(hopla-search-bench bench/search_bench.cpp)
target_link_libraries(hopla-search-bench PRIVATE hopla_win32)

# What the scrolling banner costs against Hopla minimised and a bare program
# with one 50 ms timer: bench/banner.sh runs it. Not a test.
add_executable(hopla-bare-timer WIN32 bench/bare_timer.cpp)
if(MINGW)
  target_link_options(hopla-bare-timer PRIVATE -municode)
endif()
add_executable(hopla-banner-bench bench/banner_bench.cpp)
target_link_libraries(hopla-banner-bench PRIVATE hopla_wine_kit)
target_compile_definitions(hopla-banner-bench PRIVATE
  HOPLA_EXE_DIR="$<TARGET_FILE_DIR:Hopla>")
add_dependencies(hopla-banner-bench hopla-bare-timer Hopla Hopla-testswitch)

# How soon a key switch's press is counted, and what the code bubble costs
# at rest: bench/switch.sh runs it. Not a test.
add_executable(hopla-switch-bench bench/switch_bench.cpp ${HOPLA_RESOURCES})
target_link_libraries(hopla-switch-bench PRIVATE hopla_wine_kit)
target_compile_definitions(hopla-switch-bench PRIVATE
  HOPLA_EXE_DIR="$<TARGET_FILE_DIR:Hopla>")
add_dependencies(hopla-switch-bench Hopla)

# The simulated switch user driving the real program under Wine, to check
# the simulation: bench/selection_check.sh runs it. Not a test.
add_executable(hopla-selection-check bench/selection_check.cpp
               bench/selection/switch_user.cpp
               bench/selection/switch_user_steps.cpp bench/selection/iso_task.cpp)
target_link_libraries(hopla-selection-check PRIVATE hopla_wine_kit)
target_include_directories(hopla-selection-check PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(hopla-selection-check Hopla-testswitch hopla-input-logger)

# The help file and the zip that ship, and their tests.
include(cmake/package.cmake)

# GoogleTest built with MinGW from Debian's sources.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(EXISTS /usr/src/googletest)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  # On Windows itself: an installed GoogleTest (e.g. from vcpkg), if any.
  find_package(GTest)
  if(NOT GTest_FOUND)
    message(STATUS "GoogleTest not found: building the programs only")
    return()
  endif()
  add_library(gtest ALIAS GTest::gtest)
  add_library(gtest_main ALIAS GTest::gtest_main)
endif()

hopla_sources(WIN32_TEST_SOURCES tests/win32)
list(FILTER WIN32_TEST_SOURCES EXCLUDE REGEX ".*/(wine_helpers|hopla_program|in_process_hopla)\\.cpp$")
# The programs' resources too: the same manifest, so the tests see the same
# common controls (version 6) as the programs.
add_executable(hopla_win32_tests ${WIN32_TEST_SOURCES} ${HOPLA_RESOURCES})
target_link_libraries(hopla_win32_tests PRIVATE hopla_wine_kit gtest gtest_main)
# A stand-in for JoyToKey in another process, for the heartbeat tests.
add_executable(hopla-fake-joytokey tests/win32/peer/fake_joytokey.cpp)
add_dependencies(hopla_win32_tests Hopla Hopla-testswitch hopla-press
                 hopla-fake-joytokey hopla-input-logger)
target_compile_definitions(hopla_win32_tests PRIVATE
  HOPLA_EXE_DIR="$<TARGET_FILE_DIR:Hopla>")
include(GoogleTest)
gtest_discover_tests(hopla_win32_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
