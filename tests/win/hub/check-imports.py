"""The shipped program's import table may name only KERNEL32 and msvcrt: Known DLLs, which the
loader takes from the system folder whatever lies beside the program, before the program's
first instruction. Every other system DLL is delay-loaded, at its first call, once the program
has kept the search to the system folder; the delay imports may name only those system DLLs.
Both builds.

    check-imports.py OBJDUMP EXE..."""
import re
import struct
import subprocess
import sys

IMPORTS = {"kernel32.dll", "msvcrt.dll"}
DELAYED = {"advapi32.dll", "comctl32.dll", "gdi32.dll", "ole32.dll", "shell32.dll", "user32.dll"}


def delay_imports(image):
    """The DLL names of the delay-import descriptors (attributes 1: addresses relative to the
    image), found where they lie: binutils leaves the header's directory entry empty."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    count, optional = (struct.unpack_from("<H", image, pe + at)[0] for at in (6, 20))
    sections = [struct.unpack_from("<IIII", image, pe + 24 + optional + 40 * i + 8)
                for i in range(count)]  # virtual size, address, raw size, raw offset

    def at(rva):
        for size, address, raw_size, raw in sections:
            if address <= rva < address + min(size, raw_size):
                return raw + rva - address
        return None

    names = set()
    for offset in range(0, len(image) - 32, 4):
        attributes, name, module, iat, int_ = struct.unpack_from("<5I", image, offset)
        if attributes != 1 or None in (at(name), at(module), at(iat), at(int_)):
            continue
        text = image[at(name):at(name) + 64].split(b"\0")[0]
        if re.fullmatch(rb"[A-Za-z0-9_]+\.dll", text):
            names.add(text.decode().lower())
    return names


def main(objdump, *programs):
    for exe in programs:
        table = subprocess.run([objdump, "-p", exe], capture_output=True, text=True, check=True)
        imports = {n.lower() for n in re.findall(r"DLL Name: (\S+)", table.stdout)}
        with open(exe, "rb") as f:
            delayed = delay_imports(f.read())
        if not imports or not delayed:
            sys.exit(f"{exe}: no imports ({imports}) or no delay imports ({delayed}) read")
        if imports - IMPORTS or delayed - DELAYED:
            sys.exit(f"{exe}: imports {sorted(imports - IMPORTS)} beyond KERNEL32 and msvcrt, "
                     f"or delay-imports {sorted(delayed - DELAYED)} that are not system DLLs")
        print(f"{exe} imports {sorted(imports)}, delay-imports {sorted(delayed)}")


if __name__ == "__main__":
    main(*sys.argv[1:])
