"""The shipped program's import table may name only KERNEL32 and msvcrt: Known DLLs, which the
loader takes from the system folder whatever lies beside the program, before the program's
first instruction. Every other system DLL is delay-loaded, at its first call, once the program
has kept the search to the system folder: the delay imports may name only those. Both builds.

    check-imports.py OBJDUMP EXE..."""
import re
import struct
import subprocess
import sys

IMPORTS = {"kernel32.dll", "msvcrt.dll"}
DELAYED = {"advapi32.dll", "comctl32.dll", "gdi32.dll", "ole32.dll", "shell32.dll", "user32.dll"}


def delay_imports(image):
    """The DLL names of the delay-import descriptors (attributes 1: image-relative addresses),
    sought where they lie: binutils leaves the header's directory entry empty."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    count, optional = (struct.unpack_from("<H", image, pe + at)[0] for at in (6, 20))
    sections = [struct.unpack_from("<IIII", image, pe + 32 + optional + 40 * i)
                for i in range(count)]  # virtual size, address, raw size, raw offset
    at = lambda rva: next((raw + rva - va for size, va, raw_size, raw in sections
                           if va <= rva < va + min(size, raw_size)), None)
    names = set()
    for offset in range(0, len(image) - 20, 4):
        attributes, *addresses = struct.unpack_from("<5I", image, offset)
        if attributes == 1 and None not in map(at, addresses):
            name = image[at(addresses[0]):].split(b"\0", 1)[0]
            names |= {name.decode().lower()} if re.fullmatch(rb"\w+\.dll", name) else set()
    return names


for exe in sys.argv[2:]:
    table = subprocess.run([sys.argv[1], "-p", exe], capture_output=True, text=True, check=True)
    imports = {n.lower() for n in re.findall(r"DLL Name: (\S+)", table.stdout)}
    with open(exe, "rb") as f:
        delayed = delay_imports(f.read())
    if not imports or not delayed or imports - IMPORTS or delayed - DELAYED:
        sys.exit(f"{exe}: imports {sorted(imports)}, delay-imports {sorted(delayed)}: "
                 "only KERNEL32 and msvcrt may be imported, only system DLLs delay-imported")
    print(f"{exe} imports {sorted(imports)}, delay-imports {sorted(delayed)}")
