#!/bin/sh
# Fails when the program's import table names anything but Windows system DLLs:
# the MinGW runtime (libstdc++, libgcc, libwinpthread) must be linked in.
set -eu
objdump=$1
exe=$2
names=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p')
if [ -z "$names" ]; then
  echo "no imported DLL found in $exe"
  exit 1
fi
bad=0
for name in $names; do
  lower=$(printf '%s' "$name" | tr 'A-Z' 'a-z')
  case $lower in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | shlwapi.dll | advapi32.dll | \
    shell32.dll | ole32.dll | oleaut32.dll | uxtheme.dll | version.dll | winmm.dll | ntdll.dll | \
    msvcrt.dll | ucrtbase.dll | api-ms-win-crt-*.dll | api-ms-win-core-*.dll)
      echo "system DLL: $name" ;;
    *)
      echo "not a system DLL: $name"
      bad=1 ;;
  esac
done
exit $bad
