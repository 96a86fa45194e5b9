# The built Vivo.dll as a host sees it before loading it: exactly the names of
# src/interface/exports.list in its export table, undecorated; no DLL but Windows' own among its
# imports (runtime linked in); and its version record.
#   cmake -DVIVO_PLUGIN_FILE=<Vivo.dll> -DVIVO_EXPORTS_LIST=<exports.list> -P windows_exports.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../support/export_names.cmake)
find_program(VIVO_OBJDUMP NAMES x86_64-w64-mingw32-objdump i686-w64-mingw32-objdump objdump REQUIRED)
execute_process(COMMAND ${VIVO_OBJDUMP} -p ${VIVO_PLUGIN_FILE}
  OUTPUT_VARIABLE private RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump -p failed on ${VIVO_PLUGIN_FILE}")
endif()

# "[Ordinal/Name Pointer] Table" lists one "\t[   0] Name" line per exported name.
string(FIND "${private}" "[Ordinal/Name Pointer] Table" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${VIVO_PLUGIN_FILE} has no export name table")
endif()
string(SUBSTRING "${private}" ${at} -1 table)
string(REGEX MATCHALL "\n\t\\[ *[0-9]+\\] [^\n]+" rows "${table}")
set(found "")
foreach(row ${rows})
  string(REGEX REPLACE "^\n\t\\[ *[0-9]+\\] " "" name "${row}")
  list(APPEND found "${name}")
endforeach()
vivo_expect_export_names("${found}")

# Imports: Windows' own DLLs only; no MinGW runtime DLL.
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${private}")
foreach(import ${imports})
  string(REPLACE "DLL Name: " "" dll "${import}")
  string(TOUPPER "${dll}" dll)
  if(NOT dll MATCHES "^(KERNEL32|USER32|ADVAPI32|SHELL32|SHLWAPI|GDI32|MSVCRT|UCRTBASE|API-MS-WIN-[A-Z0-9-]+)\\.DLL$")
    message(FATAL_ERROR "${VIVO_PLUGIN_FILE} needs ${dll}, which Windows does not have")
  endif()
endforeach()

# The version record, read from the resource section's bytes.
execute_process(COMMAND ${VIVO_OBJDUMP} -h ${VIVO_PLUGIN_FILE} OUTPUT_VARIABLE sections)
if(NOT sections MATCHES "\\.rsrc +([0-9a-f]+) +[0-9a-f]+ +[0-9a-f]+ +([0-9a-f]+)")
  message(FATAL_ERROR "${VIVO_PLUGIN_FILE} has no resource section")
endif()
math(EXPR size "0x${CMAKE_MATCH_1}")
math(EXPR offset "0x${CMAKE_MATCH_2}")
file(READ ${VIVO_PLUGIN_FILE} resources OFFSET ${offset} LIMIT ${size} HEX)

# VS_FIXEDFILEINFO: signature, structure version, file version 1.2.1.0, product version 4.9.0.0,
# each as two little-endian words high/low.
set(fixed "bd04effe" "00000100" "02000100" "00000100" "09000400" "00000000")
string(JOIN "" fixed ${fixed})
string(FIND "${resources}" "${fixed}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "no fixed version 1.2.1.0 / 4.9.0.0 in ${VIVO_PLUGIN_FILE}")
endif()

function(utf16_hex text out)
  string(HEX "${text}" bytes)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\100" wide "${bytes}")
  set(${out} "${wide}" PARENT_SCOPE)
endfunction()

# A String entry: its key, NUL, padding to 32 bits, then its value and NUL.
foreach(entry "Comments=Api version 2.6" "FileVersion=1.02.01.000" "ProductVersion=4.09.00"
              "InternalName=Vivo" "OriginalFilename=Vivo.dll")
  string(REGEX MATCH "^([^=]+)=(.*)$" ignored "${entry}")
  utf16_hex("${CMAKE_MATCH_1}" key)
  utf16_hex("${CMAKE_MATCH_2}" value)
  if(NOT resources MATCHES "${key}0000(0000)?${value}0000")
    message(FATAL_ERROR "version record of ${VIVO_PLUGIN_FILE} lacks \"${entry}\"")
  endif()
endforeach()
message(STATUS "exactly the 33 exports, Windows DLLs only, version record 1.02.01.000 / 4.09.00")
