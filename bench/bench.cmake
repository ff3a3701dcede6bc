# Google Benchmark programs, one per subsystem that has a cost worth watching:
# <name>_bench from bench/<name>_bench.cpp.
find_package(benchmark REQUIRED)
foreach(name compiler translate)
  add_executable(${name}_bench bench/${name}_bench.cpp)
  target_include_directories(${name}_bench PRIVATE tests)
  target_link_libraries(${name}_bench PRIVATE talven_core benchmark::benchmark benchmark::benchmark_main)
endforeach()

# The host simulator against gpsim on the same program, in one run.
add_executable(simulate_bench bench/simulate_bench.cpp)
target_link_libraries(simulate_bench PRIVATE talven_core benchmark::benchmark benchmark::benchmark_main)
target_compile_definitions(simulate_bench PRIVATE TALVEN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# Drawing the window on the software surface.
add_executable(shell_bench bench/shell_bench.cpp)
target_link_libraries(shell_bench PRIVATE talven_headless benchmark::benchmark benchmark::benchmark_main)
target_compile_definitions(shell_bench PRIVATE TALVEN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# The chart check's exploration, on the examples and on a 64-step chart of 8 branches.
add_executable(check_bench bench/check_bench.cpp)
target_link_libraries(check_bench PRIVATE talven_core benchmark::benchmark benchmark::benchmark_main)
target_compile_definitions(check_bench PRIVATE TALVEN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# A class of 30 graded on 3 scenarios of 60 s, as talvenc --grade does it.
add_executable(grade_bench bench/grade_bench.cpp src/app/grade.cpp src/app/grade_report.cpp)
target_link_libraries(grade_bench PRIVATE talven_core benchmark::benchmark benchmark::benchmark_main)
target_compile_definitions(grade_bench PRIVATE TALVEN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
