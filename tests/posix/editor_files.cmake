# The editor files vivo writes, loaded by the programs that read them: clangd and the C/C++
# extension's schema (tests/editors/check_clangd.py), VS Code's tokeniser and Vim (check_keywords.py).
get_filename_component(build ${VIVO_PLUGIN_FILE} DIRECTORY)
set(editors ${CMAKE_CURRENT_LIST_DIR}/../editors)
find_program(clangd clangd)
if(NOT clangd OR NOT EXISTS ${editors}/node_modules/vscode-textmate)
  message(FATAL_ERROR "the editor checks need clangd, Vim, node and the npm packages: run tests/editors/install.sh")
endif()
foreach(check check_clangd check_keywords)
  execute_process(COMMAND python3 ${editors}/${check}.py ${build}/vivo ${VIVO_PLUGIN_FILE}
      ${CMAKE_CURRENT_LIST_DIR}/../.. ${CMAKE_CURRENT_BINARY_DIR}/${check} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${check}.py failed")
  endif()
endforeach()
