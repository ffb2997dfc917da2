; Kestrova's Windows installer. makensis is given, with -D:
;   SRC     the source folder (icons, skins)
;   BIN     the folder with the stripped Kestrova.exe, kvuninst.exe and kvtool.exe
;   OUTFILE the installer to write
;   VERSION the program's version, e.g. 0.1.0
;   TARGET  x86-unicode or amd64-unicode (the build's own processor)
;
; It installs for the current user into the local programs folder: Kestrova
; writes "Wallpaper.bmp", its thumbnail cache and its lists into its own
; folder, which therefore must be the user's to write. Silent with /S;
; /LOGON=1 also ticks "Start Kestrova when I log on" in a silent install.

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Kestrova"
!define PUBLISHER "Tollvard"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrova"
!define SETTINGS_KEY "Software\Tollvard\Kestrova"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${SRC}\src\resources\kestrova.ico"
!define MUI_UNICON "${SRC}\src\resources\kestrova.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Kestrova.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Kestrova now"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends a running Kestrova the way its own Exit does (its browser window closes
; the program), and waits a little for it to go.
!macro CloseKestrova
  FindWindow $0 "TOrganicShapeForm" "Kestrova"
  ${If} $0 <> 0
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    StrCpy $1 0
    ${Do}
      Sleep 200
      FindWindow $0 "TOrganicShapeForm" "Kestrova"
      IntOp $1 $1 + 1
      ${If} $1 >= 50
        ${ExitDo}
      ${EndIf}
    ${LoopWhile} $0 <> 0
    ; The process ends a moment after its window.
    Sleep 1000
  ${EndIf}
!macroend

Section "Kestrova" SecProgram
  SectionIn RO
  !insertmacro CloseKestrova
  SetOutPath "$INSTDIR"
  File "${BIN}\Kestrova.exe"
  File "${BIN}\kvuninst.exe"
  File "${BIN}\kvtool.exe"
  File "${LICENCES}"
  SetOutPath "$INSTDIR\Skins"
  File /r "${SRC}\src\resources\skins\*.*"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Kestrova.exe" "" "$INSTDIR\Kestrova.exe" 0

  ; The entry of the system's list of installed programs.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kestrova.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Kestrova keeps its Run value in step with "Run On Startup" each time it
; starts; the value is written here too, so the choice holds from this logon.
Section /o "Start Kestrova when I log on" SecLogon
  WriteRegDWORD HKCU "${SETTINGS_KEY}\Kv Options" "Run On Startup" 1
  WriteRegStr HKCU "${RUN_KEY}" "Kestrova" "$INSTDIR\Kestrova.exe"
SectionEnd

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/LOGON=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 == "1"
    SectionSetFlags ${SecLogon} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

; Removes an extension's key only while it still names Kestrova's file type:
; another program may have taken the extension since.
!macro RemoveExtension ROOT PREFIX EXTENSION TYPE
  ReadRegStr $0 ${ROOT} "${PREFIX}${EXTENSION}" ""
  ${If} $0 == "${TYPE}"
    DeleteRegKey ${ROOT} "${PREFIX}${EXTENSION}"
  ${EndIf}
  DeleteRegKey ${ROOT} "${PREFIX}${TYPE}"
!macroend

Section "Uninstall"
  !insertmacro CloseKestrova
  ; The program's settings, as its own uninstaller removes them.
  ExecWait '"$INSTDIR\kvuninst.exe"'
  ; What Kestrova wrote beyond its settings: the Run value and the file types,
  ; for the user and, where it could write them, for the machine.
  DeleteRegValue HKCU "${RUN_KEY}" "Kestrova"
  DeleteRegValue HKLM "${RUN_KEY}" "Kestrova"
  !insertmacro RemoveExtension HKCU "Software\Classes\" ".lst" "Kestrova.WallpaperList"
  !insertmacro RemoveExtension HKCU "Software\Classes\" ".kvs" "Kestrova.Skin"
  !insertmacro RemoveExtension HKLM "Software\Classes\" ".lst" "Kestrova.WallpaperList"
  !insertmacro RemoveExtension HKLM "Software\Classes\" ".kvs" "Kestrova.Skin"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The program folder with its cache, its wallpaper and the lists kept in it;
  ; lists kept elsewhere are the user's and stay.
  RMDir /r "$INSTDIR"
SectionEnd
