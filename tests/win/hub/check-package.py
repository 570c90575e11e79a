"""The release zip holds, at its top level, exactly the program, its help page,
the read-me and the licence; and the program is the one just built."""
import sys
import zipfile

zip_path, exe_path = sys.argv[1:]
expected = ["help.htm", "LICENSE", "ravelind.exe", "README.txt"]
with zipfile.ZipFile(zip_path) as package, open(exe_path, "rb") as exe:
    names = sorted(package.namelist(), key=str.lower)
    if names != expected:
        sys.exit(f"{zip_path} holds {names}, not {expected}")
    if package.read("ravelind.exe") != exe.read():
        sys.exit(f"ravelind.exe in {zip_path} is not {exe_path}")
print(f"{zip_path}: {', '.join(names)}")
