; corvane-1.0-setup.exe: installs Corvane for the current user, without an administrator, into
; %LOCALAPPDATA%\Programs\Corvane, with a Start menu shortcut, a "Convert with Corvane" command
; on .dvi files in Explorer, an "Open with" entry for .dvi and an entry in Installed apps.
; makensis is given SOURCE_DIR (the source tree), BUILD_DIR (where corvane.exe and corvane.chm
; are built) and OUTPUT (the installer's path).

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
!define APPLICATION_KEY "${CLASSES}\Applications\corvane.exe"
!define OPEN_WITH_KEY "${CLASSES}\.dvi\OpenWithList\corvane.exe"
!define SHORTCUT "$SMPROGRAMS\Corvane.lnk"
!define SHCNE_ASSOCCHANGED 0x08000000

Name "${PRODUCT}"
OutFile "${OUTPUT}"
Icon "${SOURCE_DIR}\resources\corvane.ico"
UninstallIcon "${SOURCE_DIR}\resources\corvane.ico"
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

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!macro NotifyAssociationsChanged
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
!macroend

Section "Corvane" MainSection
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${BUILD_DIR}\corvane.exe"
  File "${BUILD_DIR}\corvane.chm"
  File "/oname=README.txt" "${SOURCE_DIR}\packaging\README-windows.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\corvane.exe" "" "$INSTDIR\corvane.exe" 0

  ; A command of its own on .dvi files: the user's default program for them stays as it is.
  WriteRegStr HKCU "${VERB_KEY}" "" "Convert with Corvane"
  WriteRegStr HKCU "${VERB_KEY}" "Icon" "$INSTDIR\corvane.exe,0"
  WriteRegStr HKCU "${VERB_KEY}\command" "" '"$INSTDIR\corvane.exe" "%1"'

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
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  !insertmacro NotifyAssociationsChanged
SectionEnd

; Removes what the installer made and the keys above it that are left empty; the saved settings
; under Software\Tolmarek stay.
Section "Uninstall"
  SetShellVarContext current
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\corvane.exe"
  Delete "$INSTDIR\corvane.chm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "$LOCALAPPDATA\Programs"

  DeleteRegKey HKCU "${VERB_KEY}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\SystemFileAssociations\.dvi\shell"
  DeleteRegKey /ifempty HKCU "${CLASSES}\SystemFileAssociations\.dvi"
  DeleteRegKey /ifempty HKCU "${CLASSES}\SystemFileAssociations"
  DeleteRegKey HKCU "${APPLICATION_KEY}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\Applications"
  DeleteRegKey HKCU "${OPEN_WITH_KEY}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.dvi\OpenWithList"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.dvi"

  !insertmacro NotifyAssociationsChanged
  ; Last, so that the entry in Installed apps goes only when everything else has.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
