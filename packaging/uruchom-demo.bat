@echo off
rem Quellmo PC w trybie demonstracyjnym: symulowany interfejs QLV-3 z przykladowym modulem.
rem Ten plik, FTD2XX.dll i demo.ini musza lezec obok quellmo-pc.exe.
set QLV_SIM_SCENARIO=%~dp0demo.ini
set QLV_SIM_STATE=%~dp0modul-demo.bin
start "" "%~dp0quellmo-pc.exe"
