#!/usr/bin/env bash
# Usage: make_delay_lib.sh <nm> <dlltool> <import library> <delay-load library>
# Makes a delay-load import library from MinGW's ordinary one: the same
# functions, but the DLL is loaded at the first call of one of them. Only for
# import libraries that hold nothing but imports.
set -euo pipefail
nm=$1 dlltool=$2 in=$3 out=$4
dll=$("$dlltool" --identify "$in" | head -1)
def="$out.def"
{
  echo "LIBRARY $dll"
  echo "EXPORTS"
  # 32-bit names carry a leading underscore; -k drops the @n on the DLL side.
  "$nm" "$in" | awk '$2 == "T" { print $3 }' | sed 's/^_\(.*@[0-9]*\)$/\1/' | sort -u
} > "$def"
"$dlltool" -k --input-def "$def" --output-delaylib "$out" --dllname "$dll"
