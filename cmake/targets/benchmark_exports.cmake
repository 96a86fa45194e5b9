# Benchmarks through the exports (latency, whole changes, growth with the option string's size): an
# optional target, built only when asked for (cmake --build <dir> --target vivo_export_benchmark),
# best in a Release build. It lies beside the plug-in so that it reads the same TC.ini and
# SyntaxColouring.ini; scripts/performance.py runs it.
find_package(benchmark QUIET)
if(NOT benchmark_FOUND OR WIN32)
  return()
endif()

add_executable(vivo_export_benchmark EXCLUDE_FROM_ALL
  ${PROJECT_SOURCE_DIR}/benchmarks/export_benchmark.cpp ${PROJECT_SOURCE_DIR}/tools/project_file.cpp)
target_include_directories(vivo_export_benchmark PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(vivo_export_benchmark PRIVATE vivo_core benchmark::benchmark)
target_compile_definitions(vivo_export_benchmark PRIVATE VIVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
set_target_properties(vivo_export_benchmark PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
add_dependencies(vivo_export_benchmark vivo)
