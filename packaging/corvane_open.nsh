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
; administrator holds it too, but this user may not open it: access denied means open.
!macro RefuseWhileCorvaneIsOpen GO_ON
  ${Do}
    System::Call 'kernel32::OpenMutex(i ${SYNCHRONIZE}, i 0, t "${RUNNING_MUTEX}") p .r0 ?e'
    Pop $1
    ${If} $0 <> 0
      System::Call 'kernel32::CloseHandle(p r0)'
    ${ElseIf} $1 <> ${ERROR_ACCESS_DENIED}
      ${Break}
    ${EndIf}
    !insertmacro AskToCloseCorvane "${GO_ON}"
  ${Loop}
!macroend

; The installed program itself, which Windows lets no one write while it runs: this also finds a
; Corvane started after the check at the start, and one from before the mutex existed. The help
; file likewise, which the help viewer holds open while it shows it: started from the Start menu's
; "Corvane Help", it holds no mutex.
!macro RefuseWhileTheFileIsOpen FILE WHAT GO_ON
  ${Do}
    System::Call 'kernel32::CreateFile(t "${FILE}", i ${GENERIC_WRITE}, i ${FILE_SHARE_ALL}, p 0, i ${OPEN_EXISTING}, i 0, p 0) p .r0 ?e'
    Pop $1
    ${If} $0 <> -1
      System::Call 'kernel32::CloseHandle(p r0)'
      ${Break}
    ${ElseIf} $1 <> ${ERROR_SHARING_VIOLATION}
      ${Break}
    ${EndIf}
    !insertmacro AskToClose "${WHAT}" "${GO_ON}"
  ${Loop}
!macroend

!macro RefuseWhileTheProgramRuns GO_ON
  !insertmacro RefuseWhileTheFileIsOpen "$INSTDIR\corvane.exe" "Corvane" "${GO_ON}"
  !insertmacro RefuseWhileTheFileIsOpen "$INSTDIR\corvane.chm" "Corvane Help" "${GO_ON}"
!macroend
