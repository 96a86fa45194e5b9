# The Windows product: Vivo.dll with its export table, version record, string table and report
# dialog, the resource libraries ResVivo.dll (English) and ResVivoJp.dll (Japanese) beside it, a
# runtime linked in statically, and, in a cross build, GoogleTest built for the target.
if(NOT WIN32)
  return()
endif()

enable_language(RC)

set(VIVO_RESOURCE_SOURCE_DIR ${PROJECT_SOURCE_DIR}/src/resources)
set(VIVO_WINDOWS_RESOURCE_DIR ${VIVO_RESOURCE_SOURCE_DIR}/windows)
set(VIVO_RESOURCE_BINARY_DIR ${PROJECT_BINARY_DIR}/resources)
file(MAKE_DIRECTORY ${VIVO_RESOURCE_BINARY_DIR})

# The C and C++ runtimes are linked in, so that the plug-in needs nothing but Windows' own DLLs.
target_link_options(vivo PRIVATE -static -static-libgcc -static-libstdc++)
add_link_options(-static -static-libgcc -static-libstdc++)

# Export table: exactly the names of exports.list, undecorated (the same list as the POSIX script).
set(VIVO_DEF_FILE ${PROJECT_BINARY_DIR}/Vivo.def)
string(JOIN "\n  " VIVO_DEF_LINES ${VIVO_EXPORTS})
file(CONFIGURE OUTPUT ${VIVO_DEF_FILE} CONTENT "LIBRARY Vivo.dll\nEXPORTS\n  ${VIVO_DEF_LINES}\n")
target_sources(vivo PRIVATE ${VIVO_DEF_FILE})
set_property(TARGET vivo APPEND PROPERTY LINK_DEPENDS ${VIVO_DEF_FILE})

# String tables generated from the one source of the texts; the Japanese library takes its own
# texts where strings_jp.inc has them and the English ones elsewhere.
set(VIVO_STRINGS ${VIVO_RESOURCE_SOURCE_DIR}/strings.inc)
set(VIVO_STRINGS_JP ${VIVO_RESOURCE_SOURCE_DIR}/strings_jp.inc)
set(VIVO_STRING_TABLE_SCRIPT ${VIVO_WINDOWS_RESOURCE_DIR}/string_table_rc.cmake)
set(VIVO_STRINGS_RC ${VIVO_RESOURCE_BINARY_DIR}/strings.rc)
set(VIVO_VERSION_RC ${VIVO_RESOURCE_BINARY_DIR}/version.rc)
set(VIVO_STRINGS_JP_RC ${VIVO_RESOURCE_BINARY_DIR}/strings_jp.rc)
set(VIVO_DIALOG_RC ${VIVO_WINDOWS_RESOURCE_DIR}/report_dialog.rc)
set(VIVO_DIALOG_JP_RC ${VIVO_RESOURCE_BINARY_DIR}/report_dialog_jp.rc)

add_custom_command(OUTPUT ${VIVO_STRINGS_RC} ${VIVO_VERSION_RC}
  COMMAND ${CMAKE_COMMAND} -DSTRINGS=${VIVO_STRINGS} -DOUTPUT=${VIVO_STRINGS_RC}
    -DVERSION_TEMPLATE=${VIVO_WINDOWS_RESOURCE_DIR}/version.rc.in -DVERSION_OUTPUT=${VIVO_VERSION_RC}
    -DFILE_VERSION=${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0
    -P ${VIVO_STRING_TABLE_SCRIPT}
  DEPENDS ${VIVO_STRINGS} ${VIVO_STRING_TABLE_SCRIPT} ${VIVO_WINDOWS_RESOURCE_DIR}/version.rc.in
  COMMENT "Generating the Windows string table and version record"
  VERBATIM)

set(VIVO_JP_DEPENDS ${VIVO_STRINGS} ${VIVO_STRING_TABLE_SCRIPT} ${VIVO_DIALOG_RC})
set(VIVO_JP_OVERRIDES "")
if(EXISTS ${VIVO_STRINGS_JP})
  list(APPEND VIVO_JP_DEPENDS ${VIVO_STRINGS_JP})
  set(VIVO_JP_OVERRIDES -DOVERRIDES=${VIVO_STRINGS_JP})
endif()
# The Japanese dialog is the English template with the dialog texts of strings_jp.inc.
add_custom_command(OUTPUT ${VIVO_STRINGS_JP_RC} ${VIVO_DIALOG_JP_RC}
  COMMAND ${CMAKE_COMMAND} -DSTRINGS=${VIVO_STRINGS} ${VIVO_JP_OVERRIDES}
    "-DLANGUAGE=0x11, 0x01" -DOUTPUT=${VIVO_STRINGS_JP_RC}
    -DDIALOG_TEMPLATE=${VIVO_DIALOG_RC} -DDIALOG_OUTPUT=${VIVO_DIALOG_JP_RC}
    -P ${VIVO_STRING_TABLE_SCRIPT}
  DEPENDS ${VIVO_JP_DEPENDS}
  COMMENT "Generating the Japanese Windows string table and report dialog"
  VERBATIM)

# The Japanese script is UTF-8 throughout; windres stores its texts as UTF-16.
set(VIVO_RC_FLAGS -c 65001)

set(VIVO_PLUGIN_RC ${VIVO_STRINGS_RC} ${VIVO_VERSION_RC} ${VIVO_DIALOG_RC})
target_sources(vivo PRIVATE ${VIVO_PLUGIN_RC})
set_source_files_properties(${VIVO_PLUGIN_RC} ${VIVO_STRINGS_JP_RC} ${VIVO_DIALOG_JP_RC}
  PROPERTIES COMPILE_OPTIONS "${VIVO_RC_FLAGS}")

# Resource-only libraries: no code, no entry point; loaded for one call and released after it.
function(vivo_resource_library target output)
  add_library(${target} SHARED ${ARGN})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output} PREFIX "" LINKER_LANGUAGE CXX)
  target_link_options(${target} PRIVATE -nostdlib -Wl,--entry=0 -Wl,--exclude-all-symbols)
  add_dependencies(vivo ${target})
endfunction()

vivo_resource_library(vivo_res_english ResVivo ${VIVO_STRINGS_RC} ${VIVO_DIALOG_RC})
vivo_resource_library(vivo_res_japanese ResVivoJp ${VIVO_STRINGS_JP_RC} ${VIVO_DIALOG_JP_RC})

# GoogleTest for the target, built from Debian's sources, stands in for the host's package.
if(CMAKE_CROSSCOMPILING AND VIVO_BUILD_TESTS AND NOT TARGET GTest::gtest)
  set(VIVO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${VIVO_GOOGLETEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(library gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${library})
      add_library(GTest::${library} ALIAS ${library})
    endif()
  endforeach()
  set(VIVO_GTEST_CONFIG_DIR ${PROJECT_BINARY_DIR}/googletest-config)
  file(WRITE ${VIVO_GTEST_CONFIG_DIR}/GTestConfig.cmake
    "# The targets GTest::* come from the cross build's own GoogleTest.\n")
  set(GTest_DIR ${VIVO_GTEST_CONFIG_DIR} CACHE PATH "" FORCE)
endif()

# Tests under Wine name the build's files by Windows paths: the Linux root is drive Z:. Their list
# is asked for when the tests run, not at build time, so that a build needs no Wine.
if(CMAKE_CROSSCOMPILING)
  set(VIVO_TEST_DRIVE "Z:")
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
endif()
