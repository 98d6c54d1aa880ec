"""Reads the DLL names a Windows program imports from its PE file: the import directory and the
delay-load import directory, for 32-bit (PE32) and 64-bit (PE32+) programs alike."""

from __future__ import annotations

import struct
from pathlib import Path

IMPORT_DIRECTORY = 1
DELAY_IMPORT_DIRECTORY = 13


class PeFormatError(ValueError):
    """The file is not a PE image this reader understands."""


class PeImage:
    def __init__(self, data: bytes):
        self.data = data
        if data[:2] != b"MZ":
            raise PeFormatError("no MZ header")
        pe_offset = self._u32(0x3C)
        if data[pe_offset:pe_offset + 4] != b"PE\0\0":
            raise PeFormatError("no PE signature")
        coff = pe_offset + 4
        section_count = self._u16(coff + 2)
        optional_size = self._u16(coff + 16)
        optional = coff + 20
        magic = self._u16(optional)
        if magic == 0x10B:
            self.bits, directories = 32, optional + 96
        elif magic == 0x20B:
            self.bits, directories = 64, optional + 112
        else:
            raise PeFormatError(f"unknown optional header magic {magic:#x}")
        self.directory_count = self._u32(directories - 4)
        self.directories = directories
        self.sections = []
        table = optional + optional_size
        for index in range(section_count):
            entry = table + 40 * index
            virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from("<IIII", data, entry + 8)
            self.sections.append((virtual_address, max(virtual_size, raw_size), raw_pointer))

    def _u16(self, offset: int) -> int:
        return struct.unpack_from("<H", self.data, offset)[0]

    def _u32(self, offset: int) -> int:
        return struct.unpack_from("<I", self.data, offset)[0]

    def _file_offset(self, rva: int) -> int:
        for virtual_address, size, raw_pointer in self.sections:
            if virtual_address <= rva < virtual_address + size:
                return raw_pointer + rva - virtual_address
        raise PeFormatError(f"address {rva:#x} lies in no section")

    def _string(self, rva: int) -> str:
        start = self._file_offset(rva)
        end = self.data.index(b"\0", start)
        return self.data[start:end].decode("ascii")

    def _directory(self, index: int) -> tuple[int, int]:
        if index >= self.directory_count:
            return 0, 0
        return struct.unpack_from("<II", self.data, self.directories + 8 * index)

    def _names(self, index: int, descriptor_size: int, name_field: int) -> list[str]:
        rva, size = self._directory(index)
        if rva == 0 or size == 0:
            return []
        names = []
        offset = self._file_offset(rva)
        while True:
            descriptor = self.data[offset:offset + descriptor_size]
            if len(descriptor) < descriptor_size or not any(descriptor):
                return names
            names.append(self._string(struct.unpack_from("<I", descriptor, name_field)[0]))
            offset += descriptor_size

    def imported_dlls(self) -> list[str]:
        """The DLLs of the import directory (20-byte descriptors, name at offset 12)."""
        return self._names(IMPORT_DIRECTORY, 20, 12)

    def delay_loaded_dlls(self) -> list[str]:
        """The DLLs of the delay-load import directory (32-byte descriptors, name at offset 4)."""
        return self._names(DELAY_IMPORT_DIRECTORY, 32, 4)


def read_image(path: Path) -> PeImage:
    return PeImage(path.read_bytes())
