#!/bin/sh
# Fails when the release exe still carries its symbol table or has grown past the size we ship.
set -eu
objdump=$1
exe=$2
limit=$((2 * 1024 * 1024))
size=$(wc -c <"$exe")
echo "size: $size bytes (limit $limit)"
[ "$size" -lt "$limit" ] || { echo "the exe is too large"; exit 1; }
# A PE file's header gives the number of COFF symbols; a stripped one has none.
symbols=$("$objdump" -f "$exe" >/dev/null && "$objdump" -t "$exe" | grep -c '^\[' || true)
echo "symbols: $symbols"
[ "$symbols" -eq 0 ] || { echo "the exe is not stripped"; exit 1; }
