#!/usr/bin/env bash
# install-test.sh <source dir> <build dir> <window-probe.exe>
# Packages the built program, installs it silently in the tests' Wine prefix, checks the files, shortcuts
# and uninstall entry, starts the installed program with the demo DLL until a simulated module answers,
# then uninstalls and checks that only the installed files went and the user's files stayed.
set -euo pipefail
top=$1 build=$2 probe=$3
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$build/src/ui/quellmo-pc.exe" ] || { echo "SKIP: quellmo-pc.exe is not built yet"; exit 77; }
[ -n "${WINEPREFIX:-}" ] || fail "WINEPREFIX not set"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

version=$(sed -n 's/^project(QuellmoPC VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
work=$build/package-test
rm -rf "$work"
mkdir -p "$work/zip" "$work/demo"
"$top/scripts/package" --build "$build" --no-build --out "$work/dist"
setup=$work/dist/quellmo-pc-$version-setup.exe
[ -f "$setup" ] || fail "no installer"
[ -f "$work/dist/quellmo-pc-$version-demo.zip" ] || fail "no demo zip"
unzip -q "$work/dist/quellmo-pc-$version.zip" -d "$work/zip"
unzip -q "$work/dist/quellmo-pc-$version-demo.zip" -d "$work/demo"
grep -q "demo mode: put this FTD2XX.dll beside the program" "$work/demo/CZYTAJ-DEMO.txt" || fail "demo instructions"

appwin='C:\Program Files\Quellmo PC'
app=$(winepath -u "$appwin" 2>/dev/null)
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuellmoPC'
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quellmo PC"
# A clean slate if an earlier run stopped half-way.
rm -rf "$app" "$menu"
wine reg delete "$key" /f >/dev/null 2>&1 || true

echo "installing $setup /S"
timeout 120 wine "$setup" /S || fail "installer exit code $?"
for f in quellmo-pc.exe instrukcja.pdf CZYTAJ.txt LICENCJA.txt; do
  cmp -s "$work/zip/$f" "$app/$f" || fail "$f not installed as packaged"
done
[ -f "$app/odinstaluj.exe" ] || fail "no uninstaller"
for l in "Quellmo PC.lnk" "Instrukcja obsługi.lnk" "Odinstaluj Quellmo PC.lnk"; do
  [ -f "$menu/$l" ] || fail "Start menu entry $l missing"
done
wine reg query "$key" /v DisplayVersion 2>/dev/null | tr -d '\r' | grep -q "$version\$" || fail "uninstall entry"
echo "installed: program, manual, read-me, licence, 3 Start menu entries, uninstall entry $version"

# Demo mode: the simulator's DLL and the shipped demo module beside the installed program,
# module state kept in the work folder.
cp "$work/demo/FTD2XX.dll" "$work/demo/demo.ini" "$work/demo/uruchom-demo.bat" "$app/"
grep -q 'QLV_SIM_SCENARIO=%~dp0demo.ini' "$app/uruchom-demo.bat" || fail "demo starter"
module_text=$(tr -d '\r' <"$app/demo.ini" | sed -n 's/^text *= *//p' | head -1)
[ -n "$module_text" ] || fail "demo.ini names no module text"
export QLV_SIM_STATE QLV_SIM_JOURNAL QLV_SIM_SCENARIO
QLV_SIM_STATE=$(winepath -w "$work/module-state.bin")
QLV_SIM_JOURNAL=$(winepath -w "$work/journal.txt")
QLV_SIM_SCENARIO="$appwin\\demo.ini"
# Its module archive goes to a LOCALAPPDATA of the test's own.
(cd "$app" && exec "$top/scripts/with-localappdata" "$work/localappdata" quellmo-pc.exe) &
program=$!
# Interface found, then the demo module answers: its text in the status line and "Programuj" usable.
if ! wine "$probe" "--image=$appwin\\quellmo-pc.exe" "Quellmo PC" 60000 "10116=QLV-3 USB OK" "10116=$module_text" "10121:enabled" --close; then
  kill "$program" 2>/dev/null || true
  fail "the installed program did not reach a responding module"
fi
for _ in $(seq 300); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && { kill "$program"; fail "program still running 30 s after WM_CLOSE"; }
wait "$program" || fail "program exit code $?"
ls "$work/localappdata/Quellmo PC/Archiwum/"*/*" odczytany $module_text.dat" >/dev/null 2>&1 ||
  fail "the demo module's reading is not in the module archive"
echo "demo run: connected, demo module \"$module_text\" answered and archived, closed with exit code 0"

# A data file the user saved into the program folder must survive the uninstall, as must the demo files.
printf '\xEF\xBB\xBF\x03\x03' >"$app/moja-konfiguracja.dat"
cp "$app/moja-konfiguracja.dat" "$work/data-before.dat"
wine "$appwin\\odinstaluj.exe" /S || fail "uninstaller exit code $?"
# The uninstaller runs on from a copy of itself; wait until it has done its work.
for _ in $(seq 600); do
  [ -e "$app/quellmo-pc.exe" ] || [ -e "$app/odinstaluj.exe" ] || [ -d "$menu" ] || break
  sleep 0.1
done
for f in quellmo-pc.exe instrukcja.pdf CZYTAJ.txt LICENCJA.txt odinstaluj.exe; do
  [ ! -e "$app/$f" ] || fail "$f left behind"
done
[ ! -d "$menu" ] || fail "Start menu folder left behind"
cmp -s "$work/data-before.dat" "$app/moja-konfiguracja.dat" || fail "the user's data file was touched"
for f in FTD2XX.dll demo.ini uruchom-demo.bat; do
  [ -f "$app/$f" ] || fail "the user's demo file $f was removed"
done
if wine reg query "$key" >/dev/null 2>&1; then fail "uninstall entry left behind"; fi
rm -rf "$app"
echo "uninstalled: installed files, shortcuts and entry gone; user's files kept"
echo "PASS"
