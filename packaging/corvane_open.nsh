; Whether Corvane is open, asked by setup and the uninstaller when they start and again right
; before they replace or remove a file (see corvane.nsi).

; Interactively asks to close Corvane and comes back on Retry; on Cancel, and at once when
; silent, ends with nothing changed.
!macro AskToCloseCorvane GO_ON
  !insertmacro AskToClose "Corvane" "${GO_ON}"
!macroend

!macro AskToClose WHAT GO_ON
  ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${WHAT} is open. Close it, then choose Retry ${GO_ON}, or Cancel to leave Corvane as it is." /SD IDCANCEL IDCANCEL`
    SetErrorLevel ${EXIT_CORVANE_OPEN}
    Quit
  ${EndIf}
!macroend

; Any Corvane of this user, wherever it was started from, holds the mutex. One started as
; administrator holds it too, but this user may not open it: access denied means open. $0: 1 when
; Corvane is open, else 0.
!macro IsCorvaneOpen
  System::Call 'kernel32::OpenMutex(i ${SYNCHRONIZE}, i 0, t "${RUNNING_MUTEX}") p .r0 ?e'
  Pop $1
  ${If} $0 <> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    StrCpy $0 1
  ${ElseIf} $1 = ${ERROR_ACCESS_DENIED}
    StrCpy $0 1
  ${EndIf}
!macroend

!macro RefuseWhileCorvaneIsOpen GO_ON
  ${Do}
    !insertmacro IsCorvaneOpen
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    !insertmacro AskToCloseCorvane "${GO_ON}"
  ${Loop}
!macroend

; The installed program itself, which Windows lets no one write while it runs: this also finds a
; Corvane started after the check at the start, and one from before the mutex existed. The help
; file likewise, which the help viewer holds open while it shows it: started from the Start menu's
; "Corvane Help", it holds no mutex.
;
; A program that reads the file for a moment holds it too: Explorer, or Wine's menu builder,
; reading the icon right after setup, or a virus scanner. Such a hold passes within a few seconds
; and a running program's does not, so a silent setup or uninstall, which has no one to choose
; Retry, asks for the file again for up to 5 s before it ends with 32, unless Corvane holds its
; mutex.
!define PASSING_HOLD_TRIES 20
!define PASSING_HOLD_PAUSE_MS 250
!macro RefuseWhileTheFileIsOpen FILE WHAT GO_ON
  StrCpy $R8 0
  ${Do}
    System::Call 'kernel32::CreateFile(t "${FILE}", i ${GENERIC_WRITE}, i ${FILE_SHARE_ALL}, p 0, i ${OPEN_EXISTING}, i 0, p 0) p .r0 ?e'
    Pop $1
    ${If} $0 <> -1
      System::Call 'kernel32::CloseHandle(p r0)'
      ${Break}
    ${ElseIf} $1 <> ${ERROR_SHARING_VIOLATION}
      ${Break}
    ${EndIf}
    !insertmacro IsCorvaneOpen
    ${If} $0 = 0
    ${AndIf} ${Silent}
    ${AndIf} $R8 < ${PASSING_HOLD_TRIES}
      IntOp $R8 $R8 + 1
      Sleep ${PASSING_HOLD_PAUSE_MS}
    ${Else}
      !insertmacro AskToClose "${WHAT}" "${GO_ON}"
    ${EndIf}
  ${Loop}
!macroend

; Deletes a file that a passing hold may keep for a moment, trying for up to 5 s.
!macro DeleteOnceFree FILE
  ${For} $R8 1 ${PASSING_HOLD_TRIES}
    Delete "${FILE}"
    ${IfNot} ${FileExists} "${FILE}"
      ${Break}
    ${EndIf}
    Sleep ${PASSING_HOLD_PAUSE_MS}
  ${Next}
!macroend

!macro RefuseWhileTheProgramRuns GO_ON
  !insertmacro RefuseWhileTheFileIsOpen "$INSTDIR\corvane.exe" "Corvane" "${GO_ON}"
  !insertmacro RefuseWhileTheFileIsOpen "$INSTDIR\corvane.chm" "Corvane Help" "${GO_ON}"
!macroend
