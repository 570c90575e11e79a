#!/usr/bin/env bash
# The shipped program may import only Windows' Known DLLs, which the loader takes from the
# system folder whatever lies beside the program, and the common controls, which the manifest
# sends to the system's side-by-side copy: no libstdc++, libgcc or winpthread, and no DLL
# (such as wsock32) that a copy planted in the program's folder would replace. Both builds.
set -euo pipefail
for exe; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  [ -n "$dlls" ] || { echo "no imports read from $exe"; exit 1; }
  if grep -viE '^(ADVAPI32|COMCTL32|GDI32|KERNEL32|msvcrt|ole32|SHELL32|USER32)\.dll$' <<<"$dlls"; then
    echo "$exe imports DLLs above that are not Known DLLs"; exit 1
  fi
  echo "$exe imports only Known DLLs and the common controls: $(tr '\n' ' ' <<<"$dlls")"
done
