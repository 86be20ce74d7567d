#!/usr/bin/env python3
"""Usage: set_load_config.py <image> <linker map>

Points the image's load-configuration directory entry at the record named
_load_config_used (as the linker map places it), with the size the record
gives in its first field. MinGW's linker keeps the record but leaves the
entry empty."""
import re
import struct
import sys

image_path, map_path = sys.argv[1], sys.argv[2]
with open(map_path, encoding="latin-1") as linker_map:
    found = re.search(r"^\s+0x([0-9a-fA-F]+)\s+_{1,2}load_config_used\s*$", linker_map.read(), re.M)
if not found:
    sys.exit("set_load_config.py: no _load_config_used in " + map_path)
address = int(found.group(1), 16)

with open(image_path, "r+b") as image:
    data = bytearray(image.read())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        sys.exit("set_load_config.py: not a PE image: " + image_path)
    sections, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic == 0x10B:
        image_base, directories = struct.unpack_from("<I", data, optional + 28)[0], optional + 96
    elif magic == 0x20B:
        image_base, directories = struct.unpack_from("<Q", data, optional + 24)[0], optional + 112
    else:
        sys.exit("set_load_config.py: unknown optional header")
    rva = address - image_base
    # The record's first field, its size, read where the section holds it.
    size = None
    table = optional + optional_size
    for i in range(sections):
        virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from("<IIII", data, table + 40 * i + 8)
        if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
            size = struct.unpack_from("<I", data, raw_offset + rva - virtual_address)[0]
    if not size:
        sys.exit("set_load_config.py: the record is not in any section")
    struct.pack_into("<II", data, directories + 10 * 8, rva, size)
    image.seek(0)
    image.write(data)
