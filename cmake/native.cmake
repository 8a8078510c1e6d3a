# Native build: the simulated desktop and the tests that run on it.
find_package(Threads REQUIRED)
find_package(GTest REQUIRED)
enable_testing()

hopla_sources(SIM_SOURCES src/platform/sim)
add_library(hopla_sim STATIC ${SIM_SOURCES})
target_link_libraries(hopla_sim PUBLIC hopla_core Threads::Threads)

# The pointing task the selection bench runs; its arithmetic is tested.
hopla_sources(SELECTION_SOURCES bench/selection)
add_library(hopla_selection STATIC ${SELECTION_SOURCES})
target_link_libraries(hopla_selection PUBLIC hopla_sim)
target_include_directories(hopla_selection PUBLIC ${CMAKE_SOURCE_DIR})
# bench/selection.sh runs it. Not a test.
add_executable(hopla-selection-bench bench/selection_bench.cpp)
target_link_libraries(hopla-selection-bench PRIVATE hopla_selection)

# The random runs: seeded worlds and people against the program, and the
# invariants every run must keep. The tests run a fixed set of seeds;
# bench/random_runs.sh runs thousands, and replays one.
hopla_sources(RANDOM_RUN_SOURCES tests/random_runs)
add_library(hopla_random_runs STATIC ${RANDOM_RUN_SOURCES})
target_link_libraries(hopla_random_runs PUBLIC hopla_sim)
target_include_directories(hopla_random_runs PUBLIC ${CMAKE_SOURCE_DIR}/tests)
add_executable(hopla-random-runs bench/random_runs.cpp)
target_link_libraries(hopla-random-runs PRIVATE hopla_random_runs)

hopla_sources(TEST_SOURCES tests)
add_executable(hopla_tests ${TEST_SOURCES})
target_link_libraries(hopla_tests PRIVATE hopla_sim hopla_selection
                      hopla_random_runs GTest::gtest GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(hopla_tests DISCOVERY_TIMEOUT 60)
