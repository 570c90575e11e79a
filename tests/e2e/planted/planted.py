"""Writes the .def file of a planted DLL: every export of the system DLL it stands in for, by
name and ordinal as Wine's copy has them (objdump reads them), each one the plant's stub.
cryptbase, which Wine lacks, gets the names that Windows' copy exports.

    planted.py OBJDUMP WINE_DLL_DIR NAME DEF"""
import os
import re
import subprocess
import sys

objdump, wine_dir, name, out = sys.argv[1:]
if name == "cryptbase":
    table = {i: [f"SystemFunction{n:03d}"] for i, n in
             enumerate((1, 2, 3, 4, 5, 28, 29, 34, 36, 40, 41), 1)}
else:
    dump = subprocess.run([objdump, "-p", os.path.join(wine_dir, name + ".dll")],
                          capture_output=True, text=True, check=True).stdout
    base = int(re.search(r"Ordinal Base (\d+)", dump).group(1))
    exported, named = dump.split("[Ordinal/Name Pointer] Table", 1)
    table = {base + int(i): [] for i, rva in
             re.findall(r"^\s*\[\s*(\d+)\] \+base\[\s*\d+\]\s+([0-9a-f]+) ", exported, re.M)
             if int(rva, 16)}
    for i, export in re.findall(r"^\s*\[\s*(\d+)\] (\S+)$", named, re.M):
        table.setdefault(base + int(i), []).append(export)
lines = [f"LIBRARY {name}.dll", "EXPORTS"]
for ordinal, names in sorted(table.items()):
    lines += [f"{n}=PlantedStub" + (f" @{ordinal}" if not i else "") for i, n in enumerate(names)]
    lines += [] if names else [f"ordinal{ordinal}=PlantedStub @{ordinal} NONAME"]
with open(out, "w") as f:
    f.write("\n".join(lines) + "\n")
