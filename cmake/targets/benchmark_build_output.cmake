# Build output classification throughput (Google Benchmark): an optional target, built only when asked
# for (cmake --build <dir> --target vivo_build_output_benchmark), best in a Release build.
find_package(benchmark QUIET)
if(NOT benchmark_FOUND)
  return()
endif()

add_executable(vivo_build_output_benchmark EXCLUDE_FROM_ALL
  ${PROJECT_SOURCE_DIR}/benchmarks/build_output_benchmark.cpp)
target_link_libraries(vivo_build_output_benchmark PRIVATE vivo_core benchmark::benchmark)
