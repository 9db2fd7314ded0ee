; The Windows installer, quorvane-<version>-windows-x86_64-setup.exe: a per-user install, without
; administrator rights, into %LOCALAPPDATA%\Programs\Quorvane, where Quorvane.ini beside the
; program stays writable (the program keeps it in the folder it is started in). It adds a
; Start-menu shortcut that starts the program in that folder, and an entry in the installed
; programs. The uninstaller asks before it removes Quorvane.ini; run silently (/S) it keeps it.
; The folder is remembered in the uninstall entry and offered again at the next install; an
; install into another folder first removes the earlier copy, whose settings move along. Both
; speak the user's language, Japanese or English, as the program does (English for any other).
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
; An earlier install's folder: the directory page offers it, and /S without /D installs there.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" InstallLocation
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
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(StartText)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartQuorvane
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README-windows.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(ReadmeText)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The user's display language chooses; the first one here serves every language not listed.
!insertmacro MUI_LANGUAGE English
!insertmacro MUI_LANGUAGE Japanese

LangString WelcomeText ${LANG_ENGLISH} "Setup will install Quorvane ${VERSION} for you alone; it \
needs no administrator rights.$\r$\n$\r$\nClick Next to continue."
LangString WelcomeText ${LANG_JAPANESE} "Quorvane ${VERSION} をこのユーザーだけにインストールします。\
管理者権限は要りません。$\r$\n$\r$\n続けるには [次へ] を押してください。"
LangString StartText ${LANG_ENGLISH} "Start Quorvane"
LangString StartText ${LANG_JAPANESE} "Quorvane を起動する"
LangString ReadmeText ${LANG_ENGLISH} "Show README-windows.txt"
LangString ReadmeText ${LANG_JAPANESE} "README-windows.txt (英語) を表示する"
LangString RemoveSettings ${LANG_ENGLISH} "Also remove your settings, Quorvane.ini, from $INSTDIR?"
LangString RemoveSettings ${LANG_JAPANESE} "設定ファイル Quorvane.ini も $INSTDIR から削除しますか?"

Section "Quorvane"
  SetShellVarContext current
  Call RemoveEarlierCopy
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

; A copy installed earlier in another folder goes first, so that one copy is left, the one the
; shortcut and the uninstall entry name: its own uninstaller runs silently in its folder (_?=, so
; that it is waited for), and its Quorvane.ini moves here unless this folder has one already.
Function RemoveEarlierCopy
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" InstallLocation
  StrCmp $0 "" earlier_done
  StrCmp $0 $INSTDIR earlier_done
  IfFileExists "$0\uninstall.exe" 0 earlier_done
  ExecWait '"$0\uninstall.exe" /S _?=$0'
  Delete "$0\uninstall.exe"
  IfFileExists "$INSTDIR\Quorvane.ini" settings_moved
  IfFileExists "$0\Quorvane.ini" 0 settings_moved
  CreateDirectory "$INSTDIR"
  ClearErrors
  Rename "$0\Quorvane.ini" "$INSTDIR\Quorvane.ini"
  IfErrors 0 settings_moved
  ; Another drive: copied, and the old one deleted only once the copy is there.
  CopyFiles /SILENT "$0\Quorvane.ini" "$INSTDIR"
  IfFileExists "$INSTDIR\Quorvane.ini" 0 settings_moved
  Delete "$0\Quorvane.ini"
  settings_moved:
  RMDir "$0"
  earlier_done:
FunctionEnd

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
      "$(RemoveSettings)" /SD IDNO IDNO settings_done
    Delete "$INSTDIR\Quorvane.ini"
  settings_done:
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
