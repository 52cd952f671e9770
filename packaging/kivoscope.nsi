; Installer of Kivoscope, built by scripts/package:
;   makensis -DVERSION=x.y.z -DARCH=x64|x86 -DEXE=path\kivoscope.exe -DREADME=path\README.txt
;            -DOUTFILE=setup.exe
; The installer has the program's bitness. The 64-bit one sees the 64-bit Program Files and
; registry as they are; the 32-bit one, on 64-bit Windows, installs under Program Files (x86)
; and registers in the 32-bit registry view, where Windows keeps 32-bit programs.
Unicode true
ManifestDPIAware true

!ifndef VERSION | ARCH | EXE | README | OUTFILE
  !error "VERSION, ARCH, EXE, README and OUTFILE must be given with -D"
!endif
!if "${ARCH}" == "x64"
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else if "${ARCH}" == "x86"
  Target x86-unicode
  !define PROGRAM_FILES "$PROGRAMFILES32"
!else
  !error "ARCH must be x64 or x86"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kivoscope"
!define SHORTCUT "$SMPROGRAMS\Kivoscope.lnk"

Name "Kivoscope ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\Kivoscope"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
!ifdef ICON
  Icon "${ICON}"
  UninstallIcon "${ICON}"
!endif

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Kivoscope"
VIAddVersionKey "CompanyName" "Kivoscope"
VIAddVersionKey "FileDescription" "Kivoscope ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" ""

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Kivoscope"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=kivoscope.exe" "${EXE}"
  File "/oname=README.txt" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\kivoscope.exe" "" "$INSTDIR\kivoscope.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kivoscope"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Kivoscope"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kivoscope.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only the files this installer put there are removed, one by one: the data counters the program
; keeps under the common application data folder stay, and a folder the user chose that holds
; other files is never emptied.
Section "Uninstall"
  SetShellVarContext all
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\kivoscope.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
