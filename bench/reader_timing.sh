#!/usr/bin/env bash
# Times the phone reader under -Xint, which stands in for a phone's interpreter (medians of
# ROUNDS, default 5):
# - on a part of 150000 characters (part 1 of the reader tests' big.jar): reading the part
#   once through InputStreamReader, the first page, the last page by 跳转 right after
#   opening, a page turn (harness.PageTiming);
# - the first start of the 3000-chapter book (chapters.jar) until its first page shows the
#   percentage, as this builder makes it (the part lengths in its index) and as an older
#   builder made it (the same book without them: the reader measures every part first)
#   (harness.StartTiming, both in the same rounds).
# Needs the native build's reader and its test books: cmake --build --preset native
# --target reader && ctest --test-dir build/native -R reader.books. Further arguments:
# another BOOK.jar and PART to time instead of big.jar; START_BOOKS: other books to time the
# first start of (space-separated paths), instead of the two.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build/native/reader"
book=${1:-$build/books/big.jar}
part=${2:-1}
rounds=${ROUNDS:-5}
java -Xint -Djava.awt.headless=true -cp "$build/harness-classes" harness.PageTiming "$book" "$part" "$rounds"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
if [ -z "${START_BOOKS:-}" ]; then
    # The index cut after the titles' NUL: what an older builder wrote.
    python3 - "$build/books/chapters.jar" "$tmp/chapters-older-builder.jar" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as src, zipfile.ZipFile(sys.argv[2], "w", zipfile.ZIP_DEFLATED) as dst:
    for info in src.infolist():
        data = src.read(info)
        if info.filename == "index.txt":
            text = data[2:].decode("utf-16-le")
            data = data[:2] + (text[:text.index("\0") + 1]).encode("utf-16-le")
        dst.writestr(info, data)
PY
    START_BOOKS="$build/books/chapters.jar $tmp/chapters-older-builder.jar"
fi
# shellcheck disable=SC2086
java -Xint -Djava.awt.headless=true -cp "$build/harness-classes" harness.StartTiming "$rounds" $START_BOOKS
