# POSIX resource libraries beside the plug-in: ResVivo.so (English) and ResVivoJp.so (Japanese), shared
# objects that export the string look-up VivoResourceString, built from the plug-in's own string rows
# (strings.inc, with strings_jp.inc laid over them for Japanese) and the report dialog's description.
if(WIN32)
  return()
endif()

set(VIVO_RESOURCE_LIBRARY_SOURCE ${PROJECT_SOURCE_DIR}/resource_library/res_vivo.cpp)

function(vivo_posix_resource_library target output)
  add_library(${target} SHARED ${VIVO_RESOURCE_LIBRARY_SOURCE})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_compile_definitions(${target} PRIVATE ${ARGN})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output} PREFIX "")
  target_link_options(${target} PRIVATE -Wl,--no-undefined)
  # Built with the plug-in, so that the build folder holds a working set.
  add_dependencies(vivo ${target})
endfunction()

vivo_posix_resource_library(vivo_res_english ResVivo)
vivo_posix_resource_library(vivo_res_japanese ResVivoJp VIVO_RESOURCE_JAPANESE)
