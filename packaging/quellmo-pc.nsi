; Installer of Quellmo PC. Built by scripts/package:
;   makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe> quellmo-pc.nsi
; Installs into Program Files, adds a Start-menu folder and an uninstaller.
; The uninstaller removes only the files installed here, never the user's data files.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
SetDateSave off            ; same installer for the same files
ManifestDPIAware true
RequestExecutionLevel admin

!ifndef VERSION
  !error "VERSION not defined"
!endif
!ifndef STAGE
  !error "STAGE not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "quellmo-pc-${VERSION}-setup.exe"
!endif

!define PRODUCT "Quellmo PC"
!define PUBLISHER "Quellmo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuellmoPC"
!define UNINSTALLER "odinstaluj.exe"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "Instalator programu ${PRODUCT}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

!include "MUI2.nsh"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\quellmo-pc.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENCJA.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

; The files this installer owns; the uninstaller deletes exactly these.
!macro ProgramFiles op
  !insertmacro ${op} "quellmo-pc.exe"
  !insertmacro ${op} "instrukcja.pdf"
  !insertmacro ${op} "CZYTAJ.txt"
  !insertmacro ${op} "LICENCJA.txt"
!macroend
!macro InstallOne name
  File "${STAGE}\${name}"
!macroend
!macro RemoveOne name
  Delete "$INSTDIR\${name}"
!macroend

Section "Quellmo PC" SecMain
  SectionIn RO
  SetShellVarContext all
  SetRegView 64
  SetOutPath "$INSTDIR"
  !insertmacro ProgramFiles InstallOne
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\quellmo-pc.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Instrukcja obsługi.lnk" "$INSTDIR\instrukcja.pdf"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Odinstaluj ${PRODUCT}.lnk" "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quellmo-pc.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function .onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  !insertmacro ProgramFiles RemoveOne
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only removed when empty: data files or a demo DLL the user put here stay.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Instrukcja obsługi.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Odinstaluj ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
