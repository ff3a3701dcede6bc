# One benchmark program per subsystem: bench_<name> from bench/<name>_bench.cpp.
find_package(benchmark REQUIRED)
foreach(name translate)
  add_executable(bench_${name} bench/${name}_bench.cpp)
  target_link_libraries(bench_${name} PRIVATE talven_core benchmark::benchmark_main)
endforeach()
