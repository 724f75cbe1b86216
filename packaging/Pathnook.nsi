; Pathnook's installer. Built by packaging/CMakeLists.txt, which passes
;   VERSION  the project's version (from CMake)
;   BIN      the folder holding Pathnook.exe, PathnookQuick.exe and Pathnook.chm
;   README   the configured readme.txt
;   OUTFILE  where the installer goes
;   QUICK_CLASS  (only when the quick menu is packaged) its window class
;
; Per user, no administrator rights: into %LOCALAPPDATA%\Programs\Pathnook,
; where options.ini beside the exe stays writable, and the uninstall entry
; under HKCU. The user's list under HKCU\Software\Pathnook is never touched.

; The program is 64-bit only, and so is the installer (it also runs where
; Wine has no 32-bit side).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define PRODUCT "Pathnook"
!ifndef MAIN_CLASS
  !error "MAIN_CLASS (the manager's window class) comes from the build"
!endif
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pathnook"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Pathnook Quick Menu"
!define MENU_FOLDER "$SMPROGRAMS\Pathnook"
; How long a program gets to close after WM_CLOSE before setup asks again.
!define CLOSE_WAIT_MS 15000

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Pathnook"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
; No copyright line to give.
!pragma warning disable 9100

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Pathnook.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Pathnook"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ---------------------------------------------------------------------------
; Closing a running program before its files are replaced or removed. Asks
; first; a silent run takes the question's default (close it). The program
; gets WM_CLOSE, as from its close box, so it saves its settings as usual;
; nothing is ever terminated. If it has a dialog open, or does not go, the
; user is asked to close it; a silent run gives up with exit code 2 and
; leaves every file as it was.
; Stack in: window class, display name.
!macro STOP_RUNNING_FUNCTION un
Function ${un}StopRunning
  Exch $R1 ; display name
  Exch
  Exch $R0 ; window class
  Push $R2
  Push $R3
  Push $R4
  Push $R5

  FindWindow $R2 "$R0"
  ${If} $R2 == 0
    ; A quick menu may live in a message-only window.
    System::Call 'user32::FindWindowExW(p -3, p 0, w R0, p 0) p .R2'
  ${EndIf}
  ${If} $R2 != 0
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION \
      "$R1 is running. Setup closes it before it changes its files; it saves its settings as it always does when closed.$\n$\nClose $R1 now?" \
      /SD IDOK IDOK close_it
    SetErrorLevel 1
    Quit
  close_it:
    ${DoUntil} $R2 == 0
      StrCpy $R5 258 ; WAIT_TIMEOUT
      ; A disabled window has a dialog of its own open: closing the window
      ; under it would lose what the user is typing there.
      System::Call 'user32::IsWindowEnabled(p R2) i .R4'
      ${If} $R4 != 0
        System::Call 'user32::GetWindowThreadProcessId(p R2, *i 0 R3) i'
        ; SYNCHRONIZE, to wait for the process itself: its files stay in use
        ; until it has exited, not only its window.
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R3) p .R4'
        System::Call 'user32::PostMessageW(p R2, i ${WM_CLOSE}, p 0, p 0)'
        ${If} $R4 != 0
          System::Call 'kernel32::WaitForSingleObject(p R4, i ${CLOSE_WAIT_MS}) i .R5'
          System::Call 'kernel32::CloseHandle(p R4)'
        ${EndIf}
      ${EndIf}
      ${If} $R5 != 0
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
          "$R1 did not close (it may be showing a dialog). Close it yourself, then choose Retry." \
          /SD IDCANCEL IDRETRY again
        SetErrorLevel 2
        Quit
      again:
      ${EndIf}
      FindWindow $R2 "$R0"
      ${If} $R2 == 0
        System::Call 'user32::FindWindowExW(p -3, p 0, w R0, p 0) p .R2'
      ${EndIf}
    ${Loop}
  ${EndIf}

  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd
!macroend
!insertmacro STOP_RUNNING_FUNCTION ""
!insertmacro STOP_RUNNING_FUNCTION "un."

!macro STOP_PROGRAMS un
  Push "${MAIN_CLASS}"
  Push "Pathnook"
  Call ${un}StopRunning
!ifdef QUICK_CLASS
  Push "${QUICK_CLASS}"
  Push "The Pathnook quick menu"
  Call ${un}StopRunning
!endif
!macroend

; ---------------------------------------------------------------------------
Section "Pathnook" SecProgram
  SectionIn RO
  ; Started again while the pages were shown?
  !insertmacro STOP_PROGRAMS ""
  SetOutPath "$INSTDIR"
  File "${BIN}/Pathnook.exe"
!ifdef QUICK_CLASS
  File "${BIN}/PathnookQuick.exe"
!endif
  File "${BIN}/Pathnook.chm"
  File "${README}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Pathnook.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Start menu shortcuts" SecShortcuts
  CreateDirectory "${MENU_FOLDER}"
  CreateShortCut "${MENU_FOLDER}\Pathnook.lnk" "$INSTDIR\Pathnook.exe"
!ifdef QUICK_CLASS
  CreateShortCut "${MENU_FOLDER}\Pathnook Quick Menu.lnk" "$INSTDIR\PathnookQuick.exe"
!endif
  CreateShortCut "${MENU_FOLDER}\Pathnook Help.lnk" "$INSTDIR\Pathnook.chm"
SectionEnd

!ifdef QUICK_CLASS
Section "Start the quick menu with Windows" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\PathnookQuick.exe"'
SectionEnd
!endif

; An upgrade honours what was unticked this time.
Section "-Unselected"
  ${IfNot} ${SectionIsSelected} ${SecShortcuts}
    Call RemoveShortcuts
  ${EndIf}
!ifdef QUICK_CLASS
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
!endif
SectionEnd

!macro REMOVE_SHORTCUTS_FUNCTION un
Function ${un}RemoveShortcuts
  Delete "${MENU_FOLDER}\Pathnook.lnk"
  Delete "${MENU_FOLDER}\Pathnook Quick Menu.lnk"
  Delete "${MENU_FOLDER}\Pathnook Help.lnk"
  RMDir "${MENU_FOLDER}"
FunctionEnd
!macroend
!insertmacro REMOVE_SHORTCUTS_FUNCTION ""
!insertmacro REMOVE_SHORTCUTS_FUNCTION "un."

Function .onInit
  SetShellVarContext current
!ifdef QUICK_CLASS
  ; Default on, since the quick menu only answers its hot key while it runs;
  ; an upgrade keeps the earlier choice; /AUTOSTART=0 or 1 decides outright.
  ReadRegStr $0 HKCU "${UNINST_KEY}" "InstallLocation"
  ${If} $0 != ""
    ReadRegStr $1 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $1 == ""
      !insertmacro UnselectSection ${SecAutostart}
    ${EndIf}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOSTART=" $1
  ${IfNot} ${Errors}
    ${If} $1 == "0"
      !insertmacro UnselectSection ${SecAutostart}
    ${Else}
      !insertmacro SelectSection ${SecAutostart}
    ${EndIf}
  ${EndIf}
!endif
  !insertmacro STOP_PROGRAMS ""
FunctionEnd

; ---------------------------------------------------------------------------
Function un.onInit
  SetShellVarContext current
  !insertmacro STOP_PROGRAMS "un."
FunctionEnd

Section "Uninstall"
  !insertmacro STOP_PROGRAMS "un."
  Delete "$INSTDIR\Pathnook.exe"
  Delete "$INSTDIR\PathnookQuick.exe"
  Delete "$INSTDIR\Pathnook.chm"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\Uninstall.exe"
  Call un.RemoveShortcuts
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKCU "${UNINST_KEY}"
  ; The list under HKCU\Software\Pathnook stays, so a reinstall finds every
  ; favourite. options.ini holds only window placement and column widths.
  ${If} ${FileExists} "$INSTDIR\options.ini"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Remove Pathnook's window settings (options.ini) too?$\n$\nYour list of folders stays in any case." \
      /SD IDNO IDNO keep_options
    Delete "$INSTDIR\options.ini"
  keep_options:
  ${EndIf}
  ; Only when empty: files the user put there are not ours to delete.
  RMDir "$INSTDIR"
SectionEnd
