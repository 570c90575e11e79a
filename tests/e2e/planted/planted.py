"""Writes the .def file of a planted DLL: every export of the system DLL it stands in for, by
name and ordinal as Wine's copy has them (read with objdump), each one the plant's stub.
cryptbase, which Wine lacks, gets the names that Windows' copy exports.

    planted.py OBJDUMP WINE_DLL_DIR NAME DEF"""
import os
import re
import subprocess
import sys

MISSING = {"cryptbase": [f"SystemFunction{n:03d}" for n in (1, 2, 3, 4, 5, 28, 29, 34, 36, 40, 41)]}


def exports(objdump, dll):
    """{ordinal: [names]} of a DLL's export table."""
    table = subprocess.run([objdump, "-p", dll], capture_output=True, text=True, check=True).stdout
    base = int(re.search(r"Ordinal Base (\d+)", table).group(1))
    found = {base + int(i): [] for i, rva in
             re.findall(r"^\s*\[\s*(\d+)\] \+base\[\s*\d+\]\s+([0-9a-f]+) ", table, re.M)
             if int(rva, 16)}
    names = table.split("[Ordinal/Name Pointer] Table", 1)[1]
    for i, name in re.findall(r"^\s*\[\s*(\d+)\] (\S+)$", names, re.M):
        found.setdefault(base + int(i), []).append(name)
    return found


def main(objdump, wine_dir, name, out):
    dll = os.path.join(wine_dir, name + ".dll")
    table = exports(objdump, dll) if name not in MISSING else dict(enumerate(MISSING[name], 1))
    lines = [f"LIBRARY {name}.dll", "EXPORTS"]
    for ordinal, names in sorted(table.items()):
        names = [names] if isinstance(names, str) else names
        lines += [f"{n}=PlantedStub" + (f" @{ordinal}" if i == 0 else "")
                  for i, n in enumerate(names)] or [f"ordinal{ordinal}=PlantedStub @{ordinal} NONAME"]
    with open(out, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main(*sys.argv[1:])
