# Cross build for 64-bit Windows, which wine64 runs here for the tests, the demo and the benchmark.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TWK_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
