#!/usr/bin/env bash
# Fails when an .exe of the Windows build imports a DLL that Windows itself does not ship
# (libwinpthread, libstdc++, libgcc, zlib...).
set -euo pipefail
build=$1
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|advapi32|ole32|oleaut32|ws2_32|msvcrt|uxtheme|winmm|version|imm32|msimg32|ucrtbase|api-ms-win-.*)\.dll$'
count=0
bad=0
while IFS= read -r exe; do
  count=$((count + 1))
  while IFS= read -r dll; do
    if ! printf '%s\n' "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
      echo "$exe imports $dll"
      bad=1
    fi
  done < <(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
done < <(find "$build" -name '*.exe' -not -path '*/CMakeFiles/*')
[ "$count" -gt 0 ] || { echo "no .exe found under $build"; exit 1; }
echo "$count executables, system DLLs only"
exit $bad
