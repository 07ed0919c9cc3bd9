; Tolvi's Windows installer (NSIS 3, 64 bits, Unicode), made by
; scripts/windows-package, which defines:
;   VERSION   the program's version
;   STAGE     the folder holding the installed files (tolvi.exe and the rest)
;   OUTFILE   the installer to write
;   FILES_NSH the list of those files, for a clean uninstall
; A user without administrator rights installs for themself
; (%LOCALAPPDATA%\Programs\Tolvi); an administrator chooses between that and
; an installation for every user of the PC (C:\Program Files\Tolvi).
; Silent: setup.exe /S [/CurrentUser | /AllUsers] [/D=folder].

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Tolvi"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvi"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Tolvi"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\Tolvi"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "Software\Tolvi"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1036 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1036 "FileDescription" "Installation de Tolvi, simulateur d'onde sur une corde"
VIAddVersionKey /LANG=1036 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "LegalCopyright" "Licence : voir COPYING.txt"

!define MUI_ICON "${STAGE}\tolvi.ico"
!define MUI_UNICON "${STAGE}\tolvi.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\tolvi.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Lancer Tolvi"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\COPYING.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Tolvi demande une version 64 bits de Windows."
    Abort
  ${EndIf}
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; A file type opened by Tolvi: its class under SHCTX (the user's own classes
; or the machine's, as the installation).
!macro FileType EXT CLASS DESCRIPTION
  WriteRegStr SHCTX "Software\Classes\${EXT}" "" "${CLASS}"
  WriteRegStr SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${CLASS}" ""
  WriteRegStr SHCTX "Software\Classes\${CLASS}" "" "${DESCRIPTION}"
  WriteRegStr SHCTX "Software\Classes\${CLASS}\DefaultIcon" "" "$INSTDIR\tolvi.exe,0"
  WriteRegStr SHCTX "Software\Classes\${CLASS}\shell\open\command" "" '"$INSTDIR\tolvi.exe" "%1"'
!macroend

!macro RemoveFileType EXT CLASS
  ReadRegStr $0 SHCTX "Software\Classes\${EXT}" ""
  StrCmp $0 "${CLASS}" 0 +2
    DeleteRegKey SHCTX "Software\Classes\${EXT}"
  DeleteRegValue SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${CLASS}"
  DeleteRegKey /IfEmpty SHCTX "Software\Classes\${EXT}\OpenWithProgids"
  DeleteRegKey /IfEmpty SHCTX "Software\Classes\${EXT}"
  DeleteRegKey SHCTX "Software\Classes\${CLASS}"
!macroend

Section "Tolvi" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\desinstaller.exe"

  CreateShortcut "$SMPROGRAMS\Tolvi.lnk" "$INSTDIR\tolvi.exe" "" "$INSTDIR\tolvi.exe" 0 SW_SHOWNORMAL "" \
    "Simulateur d'onde sur une corde"

  !insertmacro FileType ".P15" "Tolvi.Configuration" "Configuration Tolvi"
  !insertmacro FileType ".E33" "Tolvi.Exercice" "Exercice Tolvi"
  WriteRegStr SHCTX "Software\Classes\Applications\tolvi.exe\shell\open\command" "" '"$INSTDIR\tolvi.exe" "%1"'

  WriteRegStr SHCTX "Software\Tolvi" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Tolvi"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tolvi.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\desinstaller.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\desinstaller.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ; Tells Explorer that file types changed (SHCNE_ASSOCCHANGED).
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  ; Only what was installed, and what the program itself writes beside
  ; itself: never the whole folder, which may hold a teacher's own files.
  !include "${FILES_NSH}"
  Delete "$INSTDIR\TEMPQA.TMP"
  Delete "$INSTDIR\desinstaller.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Tolvi.lnk"
  !insertmacro RemoveFileType ".P15" "Tolvi.Configuration"
  !insertmacro RemoveFileType ".E33" "Tolvi.Exercice"
  DeleteRegKey SHCTX "Software\Classes\Applications\tolvi.exe"
  DeleteRegKey SHCTX "Software\Tolvi"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
