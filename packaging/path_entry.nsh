; The installation's folder as an entry of this user's Path (HKCU\Environment), added when the
; section asks for it and removed by the uninstaller: exactly the entry that setup added, with
; every other entry, empty ones and separators included, left as it was. The entry that setup
; added is kept in the uninstall key's value PathEntry; a Path that already held the folder is
; left alone and nothing is kept, so that uninstalling does not remove what the user put there.
;
; NSIS reads at most ${NSIS_MAX_STRLEN} - 1 characters of a value: a Path that long may have been
; cut, so it is neither written nor taken apart.

!define ENVIRONMENT_KEY "Environment"
!include WinMessages.nsh

; Takes apart $0, the Path, at its semicolons. $2: the Path without the first entry equal to $1
; (letters in either case), its separator going with it (the one after it, or the one before it
; when it is the last); $3: 1 when there was such an entry, else 0.
!macro PATH_WITHOUT UN
Function ${UN}PathWithout
  StrCpy $2 ""
  StrCpy $3 0
  StrCpy $4 $0
  ${Do}
    ; $5: the length of the next entry, $6 what follows it ("" at the end).
    StrCpy $5 0
    ${Do}
      StrCpy $6 $4 1 $5
      ${If} $6 == ";"
      ${OrIf} $6 == ""
        ${Break}
      ${EndIf}
      IntOp $5 $5 + 1
    ${Loop}
    StrCpy $7 $4 $5
    IntOp $5 $5 + 1
    StrCpy $4 $4 "" $5
    ${If} $3 = 0
    ${AndIf} $7 == $1
      StrCpy $3 1
      ${If} $6 == ""
      ${AndIf} $2 != ""
        StrCpy $2 $2 -1
      ${EndIf}
    ${Else}
      StrCpy $2 "$2$7$6"
    ${EndIf}
  ${LoopUntil} $6 == ""
FunctionEnd
!macroend
!insertmacro PATH_WITHOUT ""
!insertmacro PATH_WITHOUT "un."

!macro TellThatTheEnvironmentChanged
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
!macroend

!macro AddToPath
  ReadRegStr $0 HKCU "${ENVIRONMENT_KEY}" "Path"
  StrCpy $1 "$INSTDIR"
  Call PathWithout
  StrLen $8 "$0$1"
  IntOp $9 ${NSIS_MAX_STRLEN} - 2
  ${If} $3 = 1
    DetailPrint "The Path holds $INSTDIR already."
  ${ElseIf} $8 > $9
    DetailPrint "The Path is too long for setup to add $INSTDIR."
  ${Else}
    ${If} $0 == ""
      StrCpy $0 "$INSTDIR"
    ${Else}
      StrCpy $0 "$0;$INSTDIR"
    ${EndIf}
    WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" "$0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PathEntry" "$INSTDIR"
    !insertmacro TellThatTheEnvironmentChanged
  ${EndIf}
!macroend

!macro RemoveFromPath
  ClearErrors
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "PathEntry"
  ${IfNot} ${Errors}
    ReadRegStr $0 HKCU "${ENVIRONMENT_KEY}" "Path"
    StrLen $8 $0
    IntOp $9 ${NSIS_MAX_STRLEN} - 1
    Call un.PathWithout
    ${If} $3 = 1
    ${AndIf} $8 < $9
      ${If} $2 == ""
        DeleteRegValue HKCU "${ENVIRONMENT_KEY}" "Path"
      ${Else}
        WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" "$2"
      ${EndIf}
      !insertmacro TellThatTheEnvironmentChanged
    ${EndIf}
  ${EndIf}
!macroend
