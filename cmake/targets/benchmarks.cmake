# Benchmarks (Google Benchmark), built only on request: cmake --build <dir> --target vivo_benchmarks
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_subdirectory(${PROJECT_SOURCE_DIR}/benchmarks ${PROJECT_BINARY_DIR}/benchmarks)
endif()
