; The installation's folder as an entry of this user's Path (HKCU\Environment), added when the
; section asks for it and removed by the uninstaller: exactly the entry that setup added, with
; every other entry, empty ones and separators included, left as it was. The entry that setup
; added is kept in the uninstall key's value PathEntry; a Path that already named the folder is
; left alone and nothing is kept, so that uninstalling does not remove what the user put there.
;
; A Path may be far longer than NSIS's strings hold, so user_path.exe (packaging/user_path.cpp),
; carried by setup and by the uninstaller, reads and writes it whole and keeps its type.

!define ENVIRONMENT_KEY "Environment"
; user_path.exe's exit codes.
!define PATH_CHANGED 0
!define PATH_NOTHING_TO_DO 1
!define PATH_NOT_WHOLE 2
!define PATH_TOO_LONG 3

; Runs user_path.exe with ACTION and ARGUMENT from the plug-ins folder; its exit code in $0 (4, as
; for a Path not written, when it could not start).
!macro RunUserPath ACTION ARGUMENT
  InitPluginsDir
  File "/oname=$PLUGINSDIR\user_path.exe" "${BUILD_DIR}\user_path.exe"
  ClearErrors
  ExecWait '"$PLUGINSDIR\user_path.exe" ${ACTION} "${ARGUMENT}"' $0
  ${If} ${Errors}
    StrCpy $0 4
  ${EndIf}
!macroend

!macro AddToPath
  !insertmacro RunUserPath add "$INSTDIR"
  ${If} $0 = ${PATH_CHANGED}
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PathEntry" "$INSTDIR"
  ${ElseIf} $0 = ${PATH_NOTHING_TO_DO}
    DetailPrint "The Path names $INSTDIR already."
  ${ElseIf} $0 = ${PATH_NOT_WHOLE}
    DetailPrint "The Path could not be read whole: it was left as it was, without $INSTDIR."
  ${ElseIf} $0 = ${PATH_TOO_LONG}
    DetailPrint "The Path is too long for setup to add $INSTDIR."
  ${Else}
    DetailPrint "The Path could not be written: $INSTDIR was not added."
  ${EndIf}
!macroend

!macro RemoveFromPath
  ClearErrors
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "PathEntry"
  ${IfNot} ${Errors}
    !insertmacro RunUserPath remove "$1"
    ${If} $0 = ${PATH_NOT_WHOLE}
      DetailPrint "The Path could not be read whole: it was left as it was, with $1."
    ${ElseIf} $0 > ${PATH_TOO_LONG}
      DetailPrint "The Path could not be written: $1 is still on it."
    ${EndIf}
  ${EndIf}
!macroend
