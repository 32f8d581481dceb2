#!/usr/bin/env python3
"""Fails when a program imports a DLL or function that is not in the list of
what Windows 7 SP1 has (windows7_imports.txt), when the list itself names
something newer than Windows 7, or when it names a DLL that Windows may look
for beside the program.
With --hardening instead: fails when a file lacks a protection that
Microsoft's linker gives every program by default.

    check_imports.py LIST FILE.exe|FILE.dll ...
    check_imports.py --hardening FILE.exe|FILE.dll ...
"""
import struct
import sys

# Versions as the "Minimum supported client" lines of Microsoft's pages say them.
ORDER = ["2000", "XP", "Vista", "7", "8", "8.1", "10"]
NEWEST_ALLOWED = "7"

# KnownDLLs on every Windows from 7 SP1 to 11: the values of
# HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs that a
# stock Windows 7 SP1 and a stock Windows 10 and 11 share. Microsoft's
# "Dynamic-link library search order" puts KnownDLLs (and their own
# dependencies) before the program's folder. Windows 7's further ones (lpk,
# usp10, urlmon, wininet, iertutil, difxapi) and 10's (combase, coml2,
# gdiplus, shcore, ...) are not on both, so neither may be imported.
KNOWN_DLLS = {"advapi32", "clbcatq", "comdlg32", "gdi32", "imagehlp", "imm32", "kernel32", "msctf",
              "msvcrt", "normaliz", "nsi", "ole32", "oleaut32", "psapi", "rpcrt4", "sechost",
              "setupapi", "shell32", "shlwapi", "user32", "wldap32", "ws2_32"}


def read_list(path):
    dlls, functions = {}, {}
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.split("#", 1)[0].split()
        if not line:
            continue
        if len(line) != 3 or line[2] not in ORDER:
            sys.exit(f"{path}:{number}: expected 'DLL FUNCTION|* VERSION', VERSION one of {ORDER}")
        dll, name, version = line[0].lower(), line[1], line[2]
        (dlls if name == "*" else functions)[(dll, name) if name != "*" else dll] = version
    return dlls, functions


def headers(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        sys.exit(f"{path}: not a PE file")
    return data, pe


def imports(path):
    data, pe = headers(path)
    sections_count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    sections = []
    for i in range(sections_count):
        s = optional + optional_size + 40 * i
        vsize, vaddr, rsize, raw = struct.unpack_from("<IIII", data, s + 8)
        sections.append((vaddr, max(vsize, rsize), raw))

    def offset(rva):
        for vaddr, size, raw in sections:
            if vaddr <= rva < vaddr + size:
                return raw + rva - vaddr
        sys.exit(f"{path}: RVA {rva:#x} outside every section")

    def text(rva):
        at = offset(rva)
        return data[at:data.index(b"\0", at)].decode("ascii")

    thunk = 8 if magic == 0x20B else 4
    by_ordinal = 1 << (thunk * 8 - 1)
    found = []
    # The ordinary import directory (1) and the delay-load one (13).
    for index, entry_size, name_at, thunks_at in ((1, 20, 12, (0, 16)), (13, 32, 4, (16, 12))):
        rva = struct.unpack_from("<I", data, directories + 8 * index)[0]
        if not rva:
            continue
        at = offset(rva)
        while True:
            fields = data[at:at + entry_size]
            if not any(fields):
                break
            dll = text(struct.unpack_from("<I", fields, name_at)[0])
            table = next(t for t in (struct.unpack_from("<I", fields, o)[0] for o in thunks_at) if t)
            t = offset(table)
            while True:
                value = int.from_bytes(data[t:t + thunk], "little")
                if not value:
                    break
                found.append((dll, f"#{value & 0xFFFF}" if value & by_ordinal else text((value & 0x7FFFFFFF) + 2)))
                t += thunk
            at += entry_size
    return found


# IMAGE_DLLCHARACTERISTICS_*: what /DYNAMICBASE, /HIGHENTROPYVA, /NXCOMPAT
# and, for programs only, /TSAWARE set.
PROTECTIONS = {0x0040: "address-space randomisation", 0x0020: "high-entropy randomisation",
               0x0100: "no-execute data"}
TERMINAL_SERVER_AWARE = 0x8000
# What a stack protector leaves in the file: our guard-failure handler's
# message (forms/StackGuard.cpp, linked only when some function calls it) or,
# from Microsoft's compiler, the security cookie of the load configuration.
STACK_PROTECTOR_MARK = b"stack buffer overrun detected"


def security_cookie(data, pe):
    """The SecurityCookie address of the load configuration, or 0."""
    sections_count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    rva, size = struct.unpack_from("<II", data, optional + 112 + 8 * 10)
    if not rva or size < 0x60:
        return 0
    for i in range(sections_count):
        vsize, vaddr, rsize, raw = struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8)
        if vaddr <= rva < vaddr + max(vsize, rsize):
            return struct.unpack_from("<Q", data, raw + rva - vaddr + 0x58)[0]
    return 0


def hardening_errors(path):
    data, pe = headers(path)
    characteristics = struct.unpack_from("<H", data, pe + 22)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic != 0x20B:
        return [f"{path}: not a 64-bit image"]
    dll_characteristics = struct.unpack_from("<H", data, optional + 70)[0]
    wanted = dict(PROTECTIONS)
    if not characteristics & 0x2000:  # IMAGE_FILE_DLL
        wanted[TERMINAL_SERVER_AWARE] = "terminal-server awareness"
    errors = [f"{path}: no {name}" for bit, name in wanted.items() if not dll_characteristics & bit]
    # Randomisation needs the relocations kept in the file.
    relocations = struct.unpack_from("<II", data, optional + 112 + 8 * 5)
    if characteristics & 0x0001 or not relocations[1]:
        errors.append(f"{path}: relocations stripped, so it cannot be moved")
    if STACK_PROTECTOR_MARK not in data and not security_cookie(data, pe):
        errors.append(f"{path}: no stack protector")
    return errors


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "--hardening":
        errors = [e for path in sys.argv[2:] for e in hardening_errors(path)]
        for path in sys.argv[2:]:
            print(f"{path}: protections checked")
        for e in errors:
            print(e)
        sys.exit(1 if errors else 0)
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    dlls, functions = read_list(sys.argv[1])
    errors = []
    for key, version in list(dlls.items()) + list(functions.items()):
        if ORDER.index(version) > ORDER.index(NEWEST_ALLOWED):
            errors.append(f"list: {key} needs Windows {version}")
    for dll in dlls:
        if dll.removesuffix(".dll") not in KNOWN_DLLS:
            errors.append(f"list: {dll} is no KnownDLL on every Windows from 7 to 11: load it at run time")
    for path in sys.argv[2:]:
        count = 0
        for dll, name in imports(path):
            count += 1
            if dll.lower() not in dlls:
                errors.append(f"{path}: DLL {dll} is not in the list")
            elif (dll.lower(), name) not in functions:
                errors.append(f"{path}: {dll} {name} is not in the list")
        if count == 0:
            errors.append(f"{path}: no imports read")
        print(f"{path}: {count} imports checked")
    for e in sorted(set(errors)):
        print(e)
    sys.exit(1 if errors else 0)


if __name__ == "__main__":
    main()
