# The benchmark program: times the entry views, the details and command-line resolution with
# many entries and prints a table. Run by scripts/run-bench.sh (./twk bench), not by ctest.
add_executable(twk_bench ${CMAKE_SOURCE_DIR}/bench/Benchmark.cpp ${TWK_RESOURCES})
target_compile_options(twk_bench PRIVATE ${TWK_WARNINGS})
target_include_directories(twk_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/tools)
target_link_libraries(twk_bench PRIVATE twk_core psapi)
