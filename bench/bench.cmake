# Google Benchmark programs, one per subsystem that has a cost worth watching.
find_package(benchmark REQUIRED)

add_executable(target_bench bench/target_bench.cpp)
target_link_libraries(target_bench PRIVATE talven_core benchmark::benchmark benchmark::benchmark_main)
