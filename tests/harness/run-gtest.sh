#!/bin/sh
# run-gtest.sh <emulator> <test program> [arguments]: passes only when the program exits with 0
# and says that every one of its cases ran and passed (CompleteRunMain.cpp). An exit code of 0
# alone is not enough: a process can end early with 0. The output streams through as it comes,
# so a timeout still shows the last case started.
out=$(mktemp) || exit 1
status=$(mktemp) || exit 1
trap 'rm -f "$out" "$status"' EXIT
{ "$@"; echo $? >"$status"; } 2>&1 | tee "$out"
code=$(cat "$status")
if [ "$code" != 0 ]; then
  echo "run-gtest.sh: the program ended with ${code:-no exit code}"
  exit 1
fi
if ! grep -q '^quellmo: all [0-9]* cases ran and passed' "$out"; then
  echo "run-gtest.sh: the program ended with 0 but did not say that all its cases ran and passed"
  exit 1
fi
