# The editor files vivo writes, loaded by the programs that read them (tests/editors/check_clangd.py).
get_filename_component(build ${VIVO_PLUGIN_FILE} DIRECTORY)
set(editors ${CMAKE_CURRENT_LIST_DIR}/../editors)
find_program(clangd clangd)
if(NOT clangd)
  message(FATAL_ERROR "the editor checks need clangd: run tests/editors/install.sh")
endif()
execute_process(COMMAND python3 ${editors}/check_clangd.py ${build}/vivo ${VIVO_PLUGIN_FILE}
    ${CMAKE_CURRENT_LIST_DIR}/../.. ${CMAKE_CURRENT_BINARY_DIR}/editor_clangd RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "check_clangd.py failed")
endif()
