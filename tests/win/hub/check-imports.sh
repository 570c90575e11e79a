#!/usr/bin/env bash
# The shipped program must run on a bare Windows: it may import only DLLs
# that come with the system (no libstdc++, libgcc or winpthread).
set -euo pipefail
exe=$1
allowed='^(ADVAPI32|COMCTL32|GDI32|KERNEL32|msvcrt|SHELL32|USER32|WSOCK32)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$dlls" ] || { echo "no imports read from $exe"; exit 1; }
bad=$(grep -viE "$allowed" <<<"$dlls" || true)
if [ -n "$bad" ]; then
  echo "imports DLLs that do not ship with Windows:"; echo "$bad"; exit 1
fi
echo "imports only system DLLs: $(tr '\n' ' ' <<<"$dlls")"
