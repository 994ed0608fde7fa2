#!/bin/sh
# desktop.sh start|stop <wine-desktop-keeper.exe>: the Wine desktop held for the tests in between.
# Nothing Wine starts from here may inherit CTest's output pipe, so all of it writes elsewhere.
case $1 in
start)
  wine "$2" </dev/null >/dev/null 2>&1 &
  wine "$2" --ready </dev/null >/dev/null 2>&1 || { echo "desktop.sh: the desktop keeper did not start"; exit 1; } ;;
stop)
  wine "$2" --stop </dev/null >/dev/null 2>&1 ;;
*)
  echo "usage: desktop.sh start|stop <wine-desktop-keeper.exe>"; exit 2 ;;
esac
