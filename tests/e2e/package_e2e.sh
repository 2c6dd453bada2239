#!/usr/bin/env bash
# Packs the Windows zip from the builds (scripts/package --no-build), unpacks it into a fresh
# folder and runs the end-to-end scenario of gui_e2e.py from there.
# usage: package_e2e.sh WINDOWS_BUILD READER_TEMPLATE DRIVER EMULATOR WORK
# Exits 77 (skipped) when the native build has not made the reader template yet.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
windows=$1 reader=$2 driver=$3 emulator=$4 work=$5
if [ ! -f "$reader" ]; then
  echo "package_e2e: $reader is missing: the native build makes it (scripts/test builds it first)"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work"
"$top/scripts/package" --no-build --windows-build "$windows" --reader "$reader" --out "$work/BookMaker.zip"
python3 "$top/tests/e2e/gui_e2e.py" --driver "$driver" --emulator "$emulator" --work "$work/run" \
  --package "$work/BookMaker.zip"
