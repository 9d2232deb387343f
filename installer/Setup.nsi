; The setup program: a per-user install into %LOCALAPPDATA%\Programs, no
; elevation, since the settings files live beside the programs and must stay
; writable by the user.
;
; makensis gets from the build: VERSION ("1.02"), VERSION_NUMBERS ("1.2.0.0"),
; PRODUCT, COMPANY, COPYRIGHT, STAGE (the stripped program folder), ICON and
; OUTFILE.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

; How the two programs are found and asked to end, as a user would end them:
; the monitor by its tray menu's Exit command, Option by closing its window.
!define MONITOR_CLASS "VarnelQuillonMonitor"
!define MONITOR_TITLE "Varnel Quillon Monitor"
!define OPTION_TITLE "Varnel Quillon Option"
!define ID_TRAY_EXIT 6002
!define END_TIMEOUT_MS 15000
!define SYNCHRONIZE 0x00100000
!define WAIT_OBJECT_0 0
!define POLL_MS 100

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_NUMBERS}"
VIFileVersion "${VERSION_NUMBERS}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Monitor.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "1"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${COPYRIGHT}"

Var MonitorWasRunning

; EndProgram: $0 = the program's window, $1 = message, $2 = wParam, $3 = the
; program's name for the message box. Posts the message and waits for the
; process to end; a program that does not end within the time-out leaves the
; choice to the user: Retry waits again, Cancel stops the setup (silent: Cancel).
!macro END_PROGRAM_FUNCTION un
Function ${un}EndProgram
  Push $4
  Push $5
  Push $6
  StrCpy $4 0
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r4) i'
  System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r4) p .r5'
  System::Call 'user32::PostMessageW(p r0, i r1, p r2, p 0) i'
  DetailPrint "Waiting for $3 to end"
  wait:
  ${If} $5 P<> 0
    System::Call 'kernel32::WaitForSingleObject(p r5, i ${END_TIMEOUT_MS}) i .r6'
  ${Else}
    ; No handle to wait on: watch the window instead.
    StrCpy $6 0
    ${Do}
      System::Call 'user32::IsWindow(p r0) i .r4'
      ${IfThen} $4 = 0 ${|} ${ExitDo} ${|}
      ${If} $6 >= ${END_TIMEOUT_MS}
        StrCpy $4 1
        ${ExitDo}
      ${EndIf}
      Sleep ${POLL_MS}
      IntOp $6 $6 + ${POLL_MS}
    ${Loop}
    StrCpy $6 $4
  ${EndIf}
  ${If} $6 <> ${WAIT_OBJECT_0}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "$3 is still running: it did not end within 15 seconds.$\r$\n$\r$\nEnd it yourself (the monitor from its tray icon, Exit; the configuration window with its close button), then press Retry. Cancel stops here and changes nothing." \
      /SD IDCANCEL IDRETRY wait
    ${If} $5 P<> 0
      System::Call 'kernel32::CloseHandle(p r5)'
    ${EndIf}
    DetailPrint "$3 did not end; nothing was changed."
    SetErrorLevel 3
    Abort "$3 did not end; nothing was changed."
  ${EndIf}
  ${If} $5 P<> 0
    System::Call 'kernel32::CloseHandle(p r5)'
  ${EndIf}
  Pop $6
  Pop $5
  Pop $4
FunctionEnd

; EndPrograms: ends Option, then the monitor (which would close Option
; itself, but Option may run alone). $MonitorWasRunning tells whether the
; monitor ran.
Function ${un}EndPrograms
  StrCpy $MonitorWasRunning 0
  System::Call 'user32::FindWindowW(p 0, w "${OPTION_TITLE}") p .r0'
  ${If} $0 P<> 0
    StrCpy $1 ${WM_CLOSE}
    StrCpy $2 0
    StrCpy $3 "${OPTION_TITLE}"
    Call ${un}EndProgram
  ${EndIf}
  System::Call 'user32::FindWindowW(w "${MONITOR_CLASS}", w "${MONITOR_TITLE}") p .r0'
  ${If} $0 P<> 0
    StrCpy $MonitorWasRunning 1
    StrCpy $1 ${WM_COMMAND}
    StrCpy $2 ${ID_TRAY_EXIT}
    StrCpy $3 "${MONITOR_TITLE}"
    Call ${un}EndProgram
  ${EndIf}
FunctionEnd
!macroend
!insertmacro END_PROGRAM_FUNCTION ""
!insertmacro END_PROGRAM_FUNCTION "un."

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call EndPrograms

  SetOutPath "$INSTDIR"
  File "${STAGE}\Monitor.exe"
  File "${STAGE}\Option.exe"
  File "${STAGE}\hiddriver.dll"
  File "${STAGE}\lan.dll"
  File "${STAGE}\Play-Regular.ttf"
  File "${STAGE}\Play-Bold.ttf"
  File /nonfatal "${STAGE}\Play-OFL.txt"
  ; The skins are the program's own: a folder replaced as a whole.
  RMDir /r "$INSTDIR\skins"
  File /r "${STAGE}\skins"
  ; config.ini and config\ hold the user's settings: never written here, so
  ; an upgrade keeps them byte for byte.
  CreateDirectory "$INSTDIR\config"

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\Monitor.exe" "1" "$INSTDIR\Monitor.exe" 0
  ; Start at logon is the next section's choice.
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Monitor.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start the monitor at logon" SecRun
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\Monitor.exe"'
SectionEnd

Section "-Restart"
  ${If} $MonitorWasRunning = 1
    DetailPrint "Starting the monitor again"
    Exec '"$INSTDIR\Monitor.exe"'
  ${EndIf}
SectionEnd

Function .onInit
  ; An upgrade keeps the logon choice made before.
  ClearErrors
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${IfNot} ${Errors}
    ClearErrors
    ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
    ${If} ${Errors}
      SectionSetFlags ${SecRun} 0
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "un.${PRODUCT}" UnSecProgram
  SectionIn RO
  Call un.EndPrograms

  Delete "$INSTDIR\Monitor.exe"
  Delete "$INSTDIR\Option.exe"
  Delete "$INSTDIR\hiddriver.dll"
  Delete "$INSTDIR\lan.dll"
  Delete "$INSTDIR\Play-Regular.ttf"
  Delete "$INSTDIR\Play-Bold.ttf"
  Delete "$INSTDIR\Play-OFL.txt"
  RMDir /r "$INSTDIR\skins"
  Delete "$INSTDIR\Uninstall.exe"

  Delete "${SHORTCUT}"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Off unless ticked, or /PURGE on the command line.
Section /o "un.Also remove my settings" UnSecSettings
  Delete "$INSTDIR\config.ini"
  Delete "$INSTDIR\config.ini.*.tmp"
  RMDir /r "$INSTDIR\config"
SectionEnd

Section "-un.Folder"
  ; Only when empty: kept settings, or files of the user's own, keep it.
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PURGE" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${UnSecSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
