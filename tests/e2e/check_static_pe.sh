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
# The program itself takes every DLL from the system folder: its image
# resolves its imports there (a load-configuration record with
# DependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32), and the DLLs outside
# KnownDLLs are delay-loaded, after WinMain has narrowed the search.
if [ "${2:-}" = gui ]; then
  python3 - "$exe" <<'PY' || status=1
import struct, sys
data = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", data, 0x3C)[0]
count, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
optional = pe + 24
wide = struct.unpack_from("<H", data, optional)[0] == 0x20B
directories = optional + (112 if wide else 96)
sections = [struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8) for i in range(count)]
def offset(rva):
    for size, address, raw_size, raw in sections:
        if address <= rva < address + max(size, raw_size):
            return raw + rva - address
    sys.exit("RVA %#x is in no section" % rva)
rva, size = struct.unpack_from("<II", data, directories + 10 * 8)
flags_at = 0x4E if wide else 0x36
if not rva or size <= flags_at or not struct.unpack_from("<H", data, offset(rva) + flags_at)[0] & 0x800:
    sys.exit("no load-configuration record with DependentLoadFlags LOAD_LIBRARY_SEARCH_SYSTEM32")
imports, problems = offset(struct.unpack_from("<I", data, directories + 8)[0]), []
while True:
    name = struct.unpack_from("<I", data, imports + 12)[0]
    if not name:
        break
    dll = data[offset(name):data.index(b"\0", offset(name))].decode().lower()
    if dll not in ("kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "ws2_32.dll", "msvcrt.dll"):
        problems.append(dll)
    imports += 20
if problems:
    sys.exit("imports at start, not delay-loaded: " + " ".join(problems))
PY
fi
exit $status
