#!/bin/sh
# Runs a Windows test program under Wine for CMake and CTest. The program's C runtime writes its
# standard output in text mode (CR LF); test discovery reads LF lines, so the CRs are dropped.
status_file=$(mktemp)
{
  wine "$@"
  echo $? > "$status_file"
} | tr -d '\r'
status=$(cat "$status_file")
rm -f "$status_file"
exit "${status:-1}"
