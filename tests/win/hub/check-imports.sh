#!/usr/bin/env bash
# The shipped program must run on a bare Windows: it may import only DLLs that come with the
# system (no libstdc++, libgcc or winpthread).
set -euo pipefail
dlls=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p')
[ -n "$dlls" ] || { echo "no imports read from $1"; exit 1; }
if grep -viE '^(ADVAPI32|COMCTL32|GDI32|KERNEL32|msvcrt|ole32|SHELL32|USER32|WSOCK32)\.dll$' <<<"$dlls"; then
  echo "imports DLLs above that do not ship with Windows"; exit 1
fi
echo "imports only system DLLs: $(tr '\n' ' ' <<<"$dlls")"
