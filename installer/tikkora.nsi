; The installer of Tikkora for one user, made by installer/CMakeLists.txt:
;   makensis -INPUTCHARSET UTF8 -DVERSION=2.4 -DVERSION_QUAD=2.4.0.0
;            -DFILES_NSH=files.nsh -DICON_FILE=tikkora.ico -DOUT_FILE=Tikkora-Setup-2.4.exe
;            [-DSIGN_NSH=sign.nsh] tikkora.nsi
; SIGN_NSH, given in a signing build, signs the uninstaller before it is packed
; and the installer once it is written.
;
; Command-line switches beside NSIS's own /S and /D=folder:
;   installer   /AUTOSTART        start with Windows (otherwise an update keeps the earlier choice)
;   uninstaller /REMOVESETTINGS   deletes Tikkora.ini too
;   both        /CLOCKWAIT=n      half seconds to wait for a running clock before giving
;                                 up or asking (20); the tests of giving up shorten it

Unicode true
; Tikkora.ini lies beside the program and is written by it, so the program goes where
; the user may write, and the installer never asks for administrator rights.
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma
; A file that cannot be written ends the installation: a skipped one would leave an
; old program beside new sounds, and a silent update would report success.
AllowSkipFiles off

!ifndef VERSION | VERSION_QUAD | FILES_NSH | OUT_FILE
  !error "VERSION, VERSION_QUAD, FILES_NSH and OUT_FILE are given by the build"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tikkora"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALLER "Uninstall.exe"

Name "Tikkora ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\Tikkora"
; An update goes where the earlier version is, and so finds its settings.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tikkora ${VERSION}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include "${FILES_NSH}"
!ifdef SIGN_NSH
  !include "${SIGN_NSH}"
!endif

!ifdef ICON_FILE
  !define MUI_ICON "${ICON_FILE}"
  !define MUI_UNICON "${ICON_FILE}"
!endif
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC

!define MUI_WELCOMEPAGE_TEXT "Dieser Assistent installiert Tikkora ${VERSION} für Ihr Benutzerkonto; \
Administratorrechte sind dafür nicht nötig.$\r$\n$\r$\n\
Ist Tikkora schon installiert, wird es aktualisiert. Ihre Einstellungen und die Weckzeit \
bleiben dabei erhalten.$\r$\n$\r$\n\
Klicken Sie auf Weiter, um fortzufahren."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tikkora.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Tikkora jetzt starten"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "Tikkora"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "Tikkora"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "Tikkora ${VERSION} - Installation"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "Tikkora"

; The online update starts the installer and then ends the clock, which may hold
; its program file a moment longer; an uninstall can meet a running clock too.
Var ClockWaitTries
!macro READ_CLOCK_WAIT get_options
  StrCpy $ClockWaitTries 20
  ClearErrors
  ${get_options} $0 "/CLOCKWAIT=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 > 0
    IntOp $ClockWaitTries $1 + 0
  ${EndIf}
!macroend
!macro WAIT_FOR_CLOCK_FUNCTION prefix
Function ${prefix}WaitForClock
  ${IfNot} ${FileExists} "$INSTDIR\Tikkora.exe"
    Return
  ${EndIf}
  StrCpy $R9 0
  ${Do}
    ClearErrors
    FileOpen $R8 "$INSTDIR\Tikkora.exe" a
    ${IfNot} ${Errors}
      FileClose $R8
      Return
    ${EndIf}
    IntOp $R9 $R9 + 1
    ${If} $R9 >= $ClockWaitTries
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Tikkora läuft noch.$\r$\nBitte beenden Sie die Uhr und versuchen Sie es dann erneut." \
        /SD IDCANCEL IDRETRY +2
      Abort "Tikkora läuft noch; es wurde nichts geändert."
      StrCpy $R9 0
    ${Else}
      Sleep 500
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro WAIT_FOR_CLOCK_FUNCTION ""
!insertmacro WAIT_FOR_CLOCK_FUNCTION "un."

Section "Tikkora" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  Call WaitForClock
  ; Tikkora.ini is not among the files, so an update leaves the user's settings alone.
  !insertmacro TIKKORA_INSTALL_FILES
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateShortcut "$SMPROGRAMS\Tikkora.lnk" "$INSTDIR\Tikkora.exe" "" "$INSTDIR\Tikkora.exe" 0 \
    SW_SHOWNORMAL "" "Tikkora - Uhr mit Wecker"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tikkora"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tikkora.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tikkora"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section /o "Mit Windows starten" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "Tikkora" '"$INSTDIR\Tikkora.exe"'
SectionEnd

; An update on which the user turned the start with Windows off takes it away.
Section "-AutostartOff"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    DeleteRegValue HKCU "${RUN_KEY}" "Tikkora"
  ${EndIf}
SectionEnd

LangString DESC_SecProgram ${LANG_GERMAN} "Die Uhr, ihre Wecktöne, die Hilfe und ein Eintrag im Startmenü."
LangString DESC_SecAutostart ${LANG_GERMAN} "Tikkora startet bei jeder Anmeldung an Windows."
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} $(DESC_SecProgram)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAutostart} $(DESC_SecAutostart)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ${GetParameters} $0
  !insertmacro READ_CLOCK_WAIT "${GetOptions}"
  ClearErrors
  ${GetOptions} $0 "/AUTOSTART" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutostart}
  ${Else}
    ; An update keeps the user's earlier choice.
    ReadRegStr $1 HKCU "${RUN_KEY}" "Tikkora"
    ${If} $1 != ""
      !insertmacro SelectSection ${SecAutostart}
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "un.Tikkora" UnSecProgram
  SectionIn RO
  Call un.WaitForClock
  !insertmacro TIKKORA_REMOVE_FILES
  Delete "$INSTDIR\${UNINSTALLER}"
  Delete "$SMPROGRAMS\Tikkora.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Tikkora"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Einstellungen (Tikkora.ini) löschen" UnSecSettings
  Delete "$INSTDIR\Tikkora.ini"
SectionEnd

; Only an empty folder goes: kept settings and sounds the user added stay.
Section "-un.Folder"
  RMDir "$INSTDIR"
SectionEnd

LangString DESC_UnSecProgram ${LANG_GERMAN} "Die Uhr, ihre Wecktöne, die Hilfe und die Einträge für Startmenü und Windows-Start."
LangString DESC_UnSecSettings ${LANG_GERMAN} "Auch die Einstellungen und die Weckzeit löschen. Ohne diese Wahl bleiben sie für eine spätere Installation erhalten."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecProgram} $(DESC_UnSecProgram)
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecSettings} $(DESC_UnSecSettings)
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
  ${un.GetParameters} $0
  !insertmacro READ_CLOCK_WAIT "${un.GetOptions}"
  ClearErrors
  ${un.GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
