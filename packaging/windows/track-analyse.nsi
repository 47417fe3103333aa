; The Windows installer, dist/track-analyse-setup.exe (tools/build-windows.sh):
; both programs and a read-me, a start-menu entry, track files (.trk) opened
; by the window with the program's icon, an entry in "Apps" and an
; uninstaller that takes all of it away again. Per machine (the default for
; an administrator) or per user: the first page asks, or /AllUsers and
; /CurrentUser on the command line. /S installs and uninstalls silently.
;   makensis -DBUILD=WINDOWS-BUILD -DSOURCE=REPOSITORY -DOUTFILE=SETUP.exe track-analyse.nsi
; WINDOWS-BUILD holds the stripped programs and README.txt in dist/ and the
; version in installer/version.nsh, which CMake writes from project().

Unicode true
; 64-bit like the programs: Debian's wine64 runs no 32-bit installer.
Target amd64-unicode
!include "${BUILD}/installer/version.nsh"

!define APP_NAME "Velocitra Track Analyse"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TrackAnalyse"
!define PROG_ID "TrackAnalyse.Track"
!define SHORTCUT "$SMPROGRAMS\${APP_NAME}.lnk"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Track Analyse"
; An update goes where, and for whom, the version before it went.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh

Name "${APP_NAME}"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "${APP_NAME} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "${APP_NAME}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "${APP_NAME} setup"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey LegalCopyright "${PUBLISHER}"

!define MUI_ICON "${SOURCE}/data/icons/track-analyse.ico"
!define MUI_UNICON "${SOURCE}/data/icons/track-analyse.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\track-analyse.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${APP_NAME}"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the read-me (trk, the command line)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

!macro TellExplorer
  ; SHCNE_ASSOCCHANGED: Explorer shows the new icon and opener at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

Section
  SetOutPath "$INSTDIR"
  File "${BUILD}/dist/track-analyse.exe"
  File "${BUILD}/dist/trk.exe"
  File "${BUILD}/dist/README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\track-analyse.exe" "" "$INSTDIR\track-analyse.exe" 0

  ; SHCTX is HKLM per machine and HKCU per user. Another program's claim on
  ; .trk is kept, to be given back on uninstall.
  ReadRegStr $0 SHCTX "Software\Classes\.trk" ""
  ${If} $0 != "${PROG_ID}"
  ${AndIf} $0 != ""
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "PreviousTrackClass" "$0"
  ${EndIf}
  WriteRegStr SHCTX "Software\Classes\.trk" "" "${PROG_ID}"
  WriteRegStr SHCTX "Software\Classes\.trk\OpenWithProgids" "${PROG_ID}" ""
  WriteRegStr SHCTX "Software\Classes\${PROG_ID}" "" "Velocitra race track"
  WriteRegStr SHCTX "Software\Classes\${PROG_ID}\DefaultIcon" "" '"$INSTDIR\track-analyse.exe",0'
  WriteRegStr SHCTX "Software\Classes\${PROG_ID}\shell\open\command" "" \
    '"$INSTDIR\track-analyse.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\Applications\track-analyse.exe" "FriendlyAppName" "${APP_NAME}"
  WriteRegStr SHCTX "Software\Classes\Applications\track-analyse.exe\SupportedTypes" ".trk" ""

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\track-analyse.exe",0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ; The uninstaller is told the install mode, so that it cleans the same hive.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
    '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
    '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  !insertmacro TellExplorer
SectionEnd

Section Uninstall
  ; Only what the installer put there: a folder the user chose may hold more.
  Delete "$INSTDIR\track-analyse.exe"
  Delete "$INSTDIR\trk.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; The folder of per-user programs, when the install made it.
  ${If} $MultiUser.InstallMode == CurrentUser
    RMDir "$LOCALAPPDATA\Programs"
  ${EndIf}
  Delete "${SHORTCUT}"

  ReadRegStr $0 SHCTX "Software\Classes\.trk" ""
  ${If} $0 == "${PROG_ID}"
    ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "PreviousTrackClass"
    ${If} $1 != ""
      WriteRegStr SHCTX "Software\Classes\.trk" "" "$1"
    ${Else}
      DeleteRegValue SHCTX "Software\Classes\.trk" ""
    ${EndIf}
  ${EndIf}
  DeleteRegValue SHCTX "Software\Classes\.trk\OpenWithProgids" "${PROG_ID}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.trk\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.trk"
  DeleteRegKey SHCTX "Software\Classes\${PROG_ID}"
  DeleteRegKey SHCTX "Software\Classes\Applications\track-analyse.exe"
  DeleteRegKey /ifempty SHCTX "Software\Classes\Applications"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; A user's list of programs is made by the first install for that user
  ; alone; the machine's list is Windows' own.
  ${If} $MultiUser.InstallMode == CurrentUser
    DeleteRegKey /ifempty HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall"
  ${EndIf}
  !insertmacro TellExplorer
SectionEnd
