# libFuzzer targets (clang only, -DVIVO_FUZZ=ON): each drives one family of exports as a host would,
# linked with the plug-in's objects, which are then built with the fuzzer's coverage and with
# AddressSanitizer and UndefinedBehaviorSanitizer. Build them in their own folder:
#   cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DVIVO_FUZZ=ON && cmake --build build-fuzz --target vivo_fuzzers
# Each program lies in its own folder (fuzz/<name>/) with copies of the shipped INI files beside it,
# because the plug-in's code reads them beside the module that holds it.
option(VIVO_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(NOT VIVO_FUZZ)
  return()
endif()
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "VIVO_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

set(VIVO_FUZZ_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
target_compile_options(vivo_core PUBLIC -fsanitize=fuzzer-no-link ${VIVO_FUZZ_SANITIZERS})
target_link_options(vivo_core INTERFACE ${VIVO_FUZZ_SANITIZERS})

add_custom_target(vivo_fuzzers)
file(GLOB VIVO_FUZZ_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*_fuzzer.cpp)
foreach(source ${VIVO_FUZZ_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  string(REGEX REPLACE "_fuzzer$" "" short ${name})
  add_executable(vivo_fuzz_${short} EXCLUDE_FROM_ALL ${source})
  target_include_directories(vivo_fuzz_${short} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(vivo_fuzz_${short} PRIVATE vivo_core)
  target_link_options(vivo_fuzz_${short} PRIVATE -fsanitize=fuzzer)
  set_target_properties(vivo_fuzz_${short} PROPERTIES
    OUTPUT_NAME ${short} RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz/${short})
  foreach(shipped ${VIVO_SHIPPED_FILES})
    get_filename_component(file ${shipped} NAME)
    add_custom_command(TARGET vivo_fuzz_${short} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${shipped} ${PROJECT_BINARY_DIR}/fuzz/${short}/${file})
  endforeach()
  add_dependencies(vivo_fuzzers vivo_fuzz_${short})
endforeach()
