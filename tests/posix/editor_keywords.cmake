# The editor files vivo writes, loaded by the programs that read them (tests/editors/check_keywords.py).
get_filename_component(build ${VIVO_PLUGIN_FILE} DIRECTORY)
set(editors ${CMAKE_CURRENT_LIST_DIR}/../editors)
if(NOT EXISTS ${editors}/node_modules/vscode-textmate)
  message(FATAL_ERROR "the editor checks need Vim, node and the npm packages: run tests/editors/install.sh")
endif()
execute_process(COMMAND python3 ${editors}/check_keywords.py ${build}/vivo ${VIVO_PLUGIN_FILE}
    ${CMAKE_CURRENT_LIST_DIR}/../.. ${CMAKE_CURRENT_BINARY_DIR}/editor_keywords RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "check_keywords.py failed")
endif()
