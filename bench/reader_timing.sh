#!/usr/bin/env bash
# Times the phone reader on a part of 150000 characters (part 1 of the reader tests' big.jar)
# under -Xint, which stands in for a phone's interpreter: reading the part once through
# InputStreamReader, the first page, the last page by 跳转 right after opening, a page turn
# (harness.PageTiming; medians of ROUNDS, default 5). Needs the native build's reader and
# its test books: cmake --build --preset native --target reader && ctest --test-dir
# build/native -R reader.books. Further arguments: another BOOK.jar and PART to time.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build/native/reader"
book=${1:-$build/books/big.jar}
part=${2:-1}
exec java -Xint -Djava.awt.headless=true -cp "$build/harness-classes" harness.PageTiming "$book" "$part" "${ROUNDS:-5}"
