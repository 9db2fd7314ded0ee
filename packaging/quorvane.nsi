; The Windows installer, quorvane-<version>-windows-x86_64-setup.exe: a per-user install, without
; administrator rights, into %LOCALAPPDATA%\Programs\Quorvane, where Quorvane.ini beside the
; program stays writable (the program keeps it in the folder it is started in). It adds a
; Start-menu shortcut that starts the program in that folder, and an entry in the installed
; programs. The uninstaller asks before it removes Quorvane.ini; run silently (/S) it keeps it.
;
; makensis -DVERSION=1.2.3 -DSOURCE_DIR=<the download's folder> -DICON=<quorvane.ico>
;          -DOUTFILE=<setup.exe> -DEARTH_IMAGE=<the Earth image's file name in Data\mdl> quorvane.nsi

; A 64-bit installer for the 64-bit program: it runs where the program runs, and only there.
Target amd64-unicode
!include MUI2.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane"

Name "Quorvane ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Quorvane"
SetCompressor /SOLID lzma
ManifestDPIAware true

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 ProductName "Quorvane"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileDescription "Quorvane ${VERSION} Setup"
VIAddVersionKey /LANG=1033 CompanyName "Quorvane developers"
VIAddVersionKey /LANG=1033 LegalCopyright "2026 Quorvane developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup will install Quorvane ${VERSION} for you alone; it needs no \
administrator rights.$\r$\n$\r$\nClick Next to continue."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Quorvane"
!define MUI_FINISHPAGE_RUN_FUNCTION StartQuorvane
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README-windows.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show README-windows.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

Section "Quorvane"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${SOURCE_DIR}\quorvane.exe"
  File "${SOURCE_DIR}\README-windows.txt"
  File "${SOURCE_DIR}\copyright.txt"
  SetOutPath "$INSTDIR\Data\mdl"
  File "${SOURCE_DIR}\Data\mdl\sphere.x"
  File "${SOURCE_DIR}\Data\mdl\${EARTH_IMAGE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcut's start-in folder is the output path: the install folder, where the program
  ; finds its Data folder and keeps Quorvane.ini.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Quorvane.lnk" "$INSTDIR\quorvane.exe" "" "$INSTDIR\quorvane.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" DisplayName "Quorvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\quorvane.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" Publisher "Quorvane developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" NoRepair 1
SectionEnd

; The finish page starts the program as the shortcut does: in the install folder.
Function StartQuorvane
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\quorvane.exe"'
FunctionEnd

; uninstall.exe goes last but for its folder: once it is gone, all else is.
Section "Uninstall"
  SetShellVarContext current
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$SMPROGRAMS\Quorvane.lnk"
  Delete "$INSTDIR\quorvane.exe"
  Delete "$INSTDIR\README-windows.txt"
  Delete "$INSTDIR\copyright.txt"
  Delete "$INSTDIR\Data\mdl\sphere.x"
  Delete "$INSTDIR\Data\mdl\${EARTH_IMAGE}"
  RMDir "$INSTDIR\Data\mdl"
  RMDir "$INSTDIR\Data"
  ; The settings are the user's: asked first, kept when the answer is No or nobody is asked.
  IfFileExists "$INSTDIR\Quorvane.ini" 0 settings_done
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Also remove your settings, Quorvane.ini, from $INSTDIR?" /SD IDNO IDNO settings_done
    Delete "$INSTDIR\Quorvane.ini"
  settings_done:
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
