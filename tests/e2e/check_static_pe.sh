#!/usr/bin/env bash
# A Windows executable of this project must be a 32-bit PE (or the 64-bit
# copy built for Wine) that imports Windows system DLLs only: nothing of
# MinGW's runtime has to sit beside it.
set -euo pipefail
export LC_ALL=C  # objdump speaks Chinese under the zh_CN locale the Wine suites use
exe=$1
objdump=x86_64-w64-mingw32-objdump  # reads both PE32 and PE32+
case "$($objdump -f "$exe" | awk '/file format/ {print $NF}')" in
  pei-i386) file -b "$exe" | grep -q '^PE32 executable.*Intel 80386' || { echo "not PE32 i386: $(file -b "$exe")"; exit 1; } ;;
  pei-x86-64) ;;  # the 64-bit build that runs the Wine suites where 32-bit code cannot run
  *) echo "not a Windows executable: $(file -b "$exe")"; exit 1 ;;
esac
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|ws2_32|wininet|winhttp|iphlpapi|rasapi32|shlwapi|uxtheme|msvcrt|icmp|version)\.dll$'
status=0
for dll in $($objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}'); do
  if ! [[ $dll =~ $allowed ]]; then echo "imports a non-system DLL: $dll"; status=1; fi
done
[ "${2:-}" = gui ] && { file -b "$exe" | grep -q '(GUI)' || { echo "not a GUI program"; exit 1; }; }
exit $status
