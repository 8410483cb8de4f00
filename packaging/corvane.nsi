; corvane-1.0-setup.exe: installs Corvane for the current user, without an administrator, into
; %LOCALAPPDATA%\Programs\Corvane, corvane.exe with its console twin corvane.com, with Start menu
; shortcuts to the program and its help, the commands "Convert with Corvane" and "Make PDF with
; Corvane" on .dvi files in Explorer, an "Open with" entry for .dvi, an entry in Installed apps
; and, unless /NOPATH is given or the box is cleared, the folder on this user's Path. Its pages:
; welcome, licence, components, folder, progress, finish.
; makensis is given SOURCE_DIR (the source tree), BUILD_DIR (where corvane.exe and corvane.chm
; are built) and OUTPUT (the installer's path).
;
; While Corvane is open its files cannot be replaced or removed, so setup and uninstall look for
; it when they start, and again right before they touch a file, since it may have been started
; from a page meanwhile: interactively they ask to close it (Retry, Cancel); silently they change
; nothing and end with exit code 32, Windows' ERROR_SHARING_VIOLATION ("The process cannot access
; the file because it is being used by another process."), as they do after Cancel. A program that
; holds a file for a moment only, as Explorer does to read the icon, is waited for when silent.

Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; The installed files get the time of installing, and the installer is the same on every build.
SetDateSave off

!define PRODUCT "Corvane"
!define VERSION "1.0"
!define PUBLISHER "Tolmarek"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane"
!define CLASSES "Software\Classes"
!define VERB_KEY "${CLASSES}\SystemFileAssociations\.dvi\shell\ConvertWithCorvane"
!define PDF_VERB_KEY "${CLASSES}\SystemFileAssociations\.dvi\shell\MakePdfWithCorvane"
!define APPLICATION_KEY "${CLASSES}\Applications\corvane.exe"
!define OPEN_WITH_KEY "${CLASSES}\.dvi\OpenWithList\corvane.exe"
!define SHORTCUT "$SMPROGRAMS\Corvane.lnk"
!define HELP_SHORTCUT "$SMPROGRAMS\Corvane Help.lnk"
!define SHCNE_ASSOCCHANGED 0x08000000
; Held by every running corvane.exe.
!define RUNNING_MUTEX "Local\Tolmarek.Corvane"
!define SYNCHRONIZE 0x00100000
!define GENERIC_WRITE 0x40000000
!define FILE_SHARE_ALL 7
!define OPEN_EXISTING 3
!define ERROR_ACCESS_DENIED 5
!define ERROR_SHARING_VIOLATION 32
!define EXIT_CORVANE_OPEN 32

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include Sections.nsh
!include "${SOURCE_DIR}\packaging\path_entry.nsh"

Name "${PRODUCT} ${VERSION}"
; Instead of the NSIS build that made the installer.
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTPUT}"
; An earlier installation is upgraded where it is.
InstallDir "$LOCALAPPDATA\Programs\Corvane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${SOURCE_DIR}\resources\corvane.ico"
!define MUI_UNICON "${SOURCE_DIR}\resources\corvane.ico"

!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION}, the front end for dvips by ${PUBLISHER}, for you alone: it needs no administrator.$\r$\n$\r$\nIf ${PRODUCT} is open, close it before you go on.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${SOURCE_DIR}\LICENSE"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; A silent installation shows no page, so it starts nothing.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunCorvane
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the read-me"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Started from the finish page as from its Start menu shortcut: in the user's Documents, so that
; a PostScript file written beside no DVI file does not land in the program's folder.
Function RunCorvane
  SetOutPath "$DOCUMENTS"
  Exec '"$INSTDIR\corvane.exe"'
FunctionEnd

!include "${SOURCE_DIR}\packaging\corvane_open.nsh"

; The uninstaller's copies in the temporary folder, named so that no other program's are taken
; for them. Windows removes them at the next restart only for an administrator (Delete
; /REBOOTOK), so the next setup or uninstall removes those that are no longer running.
!define COPY_SUFFIX "-corvane"
!macro RemoveEarlierUninstallerCopies
  FindFirst $R2 $R3 "$TEMP\ns*.tmp${COPY_SUFFIX}"
  ${DoWhile} $R3 != ""
    ${If} "$TEMP\$R3" != "$EXEDIR"
      Delete "$TEMP\$R3\uninstall.exe"
      RMDir "$TEMP\$R3"
    ${EndIf}
    FindNext $R2 $R3
  ${Loop}
  FindClose $R2
!macroend

Function .onInit
  !insertmacro RefuseWhileCorvaneIsOpen "to go on with the setup"
  !insertmacro RemoveEarlierUninstallerCopies
  Call LeavePathAloneWhenAsked
FunctionEnd

; Installed apps starts the uninstaller where it is (_?=), so that its first process is this
; script's and can refuse with an exit code that the caller sees. That process hands over to a
; copy of itself in the temporary folder, which can remove the original, and waits for it, so that
; the command ends when Corvane is gone and with the copy's exit code. The original and its folder
; are left, as a running program cannot remove itself: the copy, started again, removes them once
; the original has ended. Started by hand without _?=, NSIS makes its own copy and ends at once.
!define HANDED_OVER "/HANDED-OVER"
!define ORIGINAL_ENDING "/ORIGINAL-ENDING"

; The folder goes with it, once a passing hold on anything in it has ended (see corvane_open.nsh).
!macro RemoveTheOriginalOnceItHasEnded
  ${For} $1 1 100
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
      ${Break}
    ${EndIf}
    Sleep 100
  ${Next}
  RMDir "$LOCALAPPDATA\Programs"
!macroend

Function un.onInit
  ${un.GetParameters} $R0
  ClearErrors
  ${un.GetOptions} $R0 "${ORIGINAL_ENDING}" $R1
  ${IfNot} ${Errors}
    ; A program cannot remove itself while it runs: this copy asks Windows to remove it and its
    ; folder at the next restart, as NSIS does with its own copy.
    Delete /REBOOTOK "$EXEPATH"
    RMDir /REBOOTOK "$EXEDIR"
    !insertmacro RemoveTheOriginalOnceItHasEnded
    Quit
  ${EndIf}
  !insertmacro RefuseWhileCorvaneIsOpen "to go on removing it"
  !insertmacro RefuseWhileTheProgramRuns "to go on removing it"
  !insertmacro RemoveEarlierUninstallerCopies
  ${If} "$EXEDIR" == "$INSTDIR"
    GetTempFileName $0
    Delete $0
    StrCpy $0 "$0${COPY_SUFFIX}"
    CreateDirectory $0
    CopyFiles /SILENT /FILESONLY "$EXEPATH" "$0\uninstall.exe"
    StrCpy $1 ""
    ${If} ${Silent}
      StrCpy $1 "/S "
    ${EndIf}
    ; Started anywhere but in the folder that it removes.
    SetOutPath $0
    ClearErrors
    ExecWait '"$0\uninstall.exe" $1${HANDED_OVER} _?=$INSTDIR' $2
    ${If} ${Errors}
      StrCpy $2 2
    ${EndIf}
    ${If} $2 = 0
      Exec '"$0\uninstall.exe" /S ${ORIGINAL_ENDING} _?=$INSTDIR'
    ${Else}
      Delete "$0\uninstall.exe"
      RMDir "$0"
    ${EndIf}
    SetErrorLevel $2
    Quit
  ${EndIf}
FunctionEnd

!macro NotifyAssociationsChanged
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
!macroend

Section "Corvane" MainSection
  SectionIn RO
  SetShellVarContext current
  !insertmacro RefuseWhileTheProgramRuns "to go on with the setup"
  SetOutPath "$INSTDIR"
  File "${BUILD_DIR}\corvane.exe"
  File "${BUILD_DIR}\corvane.com"
  File "${BUILD_DIR}\corvane.chm"
  File "/oname=README.txt" "${SOURCE_DIR}\packaging\README-windows.txt"
  File "/oname=LICENSE.txt" "${SOURCE_DIR}\LICENSE"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; A shortcut starts in the folder that is current when it is made: the user's Documents.
  SetOutPath "$DOCUMENTS"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\corvane.exe" "" "$INSTDIR\corvane.exe" 0
  CreateShortcut "${HELP_SHORTCUT}" "$INSTDIR\corvane.chm"
  SetOutPath "$INSTDIR"

  ; A command of its own on .dvi files: the user's default program for them stays as it is.
  WriteRegStr HKCU "${VERB_KEY}" "" "Convert with Corvane"
  WriteRegStr HKCU "${VERB_KEY}" "Icon" "$INSTDIR\corvane.exe,0"
  WriteRegStr HKCU "${VERB_KEY}\command" "" '"$INSTDIR\corvane.exe" "%1"'
  ; The PDF with the saved settings and no sheet: the PDF opening says that it worked.
  WriteRegStr HKCU "${PDF_VERB_KEY}" "" "Make PDF with Corvane"
  WriteRegStr HKCU "${PDF_VERB_KEY}" "Icon" "$INSTDIR\corvane.exe,0"
  WriteRegStr HKCU "${PDF_VERB_KEY}\command" "" '"$INSTDIR\corvane.exe" /convert "%1" /pdf /open'

  ; "Open with" lists Corvane for .dvi files.
  WriteRegStr HKCU "${APPLICATION_KEY}" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr HKCU "${APPLICATION_KEY}\SupportedTypes" ".dvi" ""
  WriteRegStr HKCU "${APPLICATION_KEY}\shell\open\command" "" '"$INSTDIR\corvane.exe" "%1"'
  WriteRegStr HKCU "${OPEN_WITH_KEY}" "" ""

  SectionGetSize ${MainSection} $0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\corvane.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  ; The uninstaller starts where it is (_?=): see un.onInit.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" _?=$INSTDIR'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  !insertmacro NotifyAssociationsChanged
SectionEnd

; So that cmd, PowerShell, make and the editors find corvane (corvane.com first, by PATHEXT).
Section "Add Corvane to the PATH" PathSection
  !insertmacro AddToPath
SectionEnd

; /S takes the sections as they are checked by default; /NOPATH clears this one.
Function LeavePathAloneWhenAsked
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/NOPATH" $R1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${PathSection}
  ${EndIf}
FunctionEnd

; Removes what the installer made and the keys above it that are left empty; the saved settings
; under Software\Tolmarek stay.
Section "Uninstall"
  SetShellVarContext current
  !insertmacro RefuseWhileTheProgramRuns "to go on removing it"
  Delete "${SHORTCUT}"
  Delete "${HELP_SHORTCUT}"
  !insertmacro DeleteOnceFree "$INSTDIR\corvane.exe"
  !insertmacro DeleteOnceFree "$INSTDIR\corvane.com"
  !insertmacro DeleteOnceFree "$INSTDIR\corvane.chm"
  !insertmacro DeleteOnceFree "$INSTDIR\README.txt"
  !insertmacro DeleteOnceFree "$INSTDIR\LICENSE.txt"
  ; The original waits for this copy to end when it handed over (see un.onInit); NSIS's own start
  ; of an uninstaller has ended it already, or is ending it.
  ${un.GetParameters} $R0
  ClearErrors
  ${un.GetOptions} $R0 "${HANDED_OVER}" $R1
  ${If} ${Errors}
    !insertmacro RemoveTheOriginalOnceItHasEnded
  ${EndIf}

  DeleteRegKey HKCU "${VERB_KEY}"
  DeleteRegKey HKCU "${PDF_VERB_KEY}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\SystemFileAssociations\.dvi\shell"
  DeleteRegKey /ifempty HKCU "${CLASSES}\SystemFileAssociations\.dvi"
  DeleteRegKey /ifempty HKCU "${CLASSES}\SystemFileAssociations"
  DeleteRegKey HKCU "${APPLICATION_KEY}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\Applications"
  DeleteRegKey HKCU "${OPEN_WITH_KEY}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.dvi\OpenWithList"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.dvi"

  !insertmacro NotifyAssociationsChanged
  !insertmacro RemoveFromPath
  ; Last, so that the entry in Installed apps goes only when everything else has.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
