; The Windows installer: puts both programs, the user guide, the licence and
; the sample files into Program Files\Pellimar, adds a Start-menu entry,
; "Open with Pellimar" for .fff files (for the user who installs) and an
; uninstaller registered with Windows. The uninstaller removes exactly the
; files and the registry entries it installed, so the settings the program keeps beside itself
; (pellimar.INI, patterns.pag, patterns.ref) and in %APPDATA%\Pellimar stay;
; the folder goes only when nothing else is left in it.
; Both run without a question with /S. Built by scripts/pack-windows.sh:
;   makensis -DVERSION=1.4.0 -DFILE_LIST=files.nsh -DICON=pellimar.ico
;            -DOUTFILE=setup.exe pellimar-setup.nsi
; FILE_LIST defines the macros InstallFiles and RemoveFiles over the files of
; the build's install rules, all in one folder.

; A 64-bit installer for a 64-bit program: it needs no 32-bit layer (wine's
; included) and sees the 64-bit Program Files and registry as they are.
Target amd64-unicode
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include "${FILE_LIST}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pellimar"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\Pellimar.lnk"
; Flat files open with Pellimar: an "Open with Pellimar" item in the menu
; Explorer shows for every .fff file (VERB_KEY), and Pellimar in their "Open
; with" list (a type of its own, PROGID, named among the types that .fff
; files open with). In the installing user's own classes, which are theirs to
; change, and which leave alone whatever program opens .fff files now.
!define CLASSES "Software\Classes"
!define PROGID "Pellimar.FlatFile"
!define VERB_KEY "${CLASSES}\SystemFileAssociations\.fff\shell\Pellimar"
!define OPEN_WITH_KEY "${CLASSES}\.fff\OpenWithProgids"
!define OPEN_COMMAND '"$INSTDIR\pellimar.exe" "%1"'

Name "Pellimar ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Pellimar"
; A new version goes where the last one was put.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
; A file that cannot be replaced (a running program) is retried or the
; install is cancelled, never skipped; /S cancels.
AllowSkipFiles off
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Pellimar"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Pellimar ${VERSION} Setup"
VIAddVersionKey "LegalCopyright" "MIT licence"

BrandingText "Pellimar ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

; The last page offers to start Pellimar, ticked. The program is started by
; Explorer, as the user who is signed in: started by the installer itself it
; would run as administrator and keep its settings beside itself, where the
; user cannot later write them.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run Pellimar"
!define MUI_FINISHPAGE_RUN_FUNCTION RunPellimar
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Pellimar ${VERSION} will be removed from the folder below. \
Your settings (pellimar.INI, patterns.pag, patterns.ref) stay, and so does the folder while they are in it."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  ; The Start-menu entry is for every user, as the program folder is.
  SetShellVarContext all
FunctionEnd

Function RunPellimar
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\pellimar.exe"'
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Pellimar" SectionPellimar
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro InstallFiles
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The shortcut starts the program in its own folder.
  SetOutPath "$INSTDIR"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\pellimar.exe" "" "$INSTDIR\pellimar.exe" 0 \
    SW_SHOWNORMAL "" "References for the records of Folio flat files"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Pellimar"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Pellimar developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pellimar.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SectionPellimar} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  WriteRegStr HKCU "${VERB_KEY}" "" "Open with Pellimar"
  WriteRegStr HKCU "${VERB_KEY}" "Icon" "$INSTDIR\pellimar.exe,0"
  WriteRegStr HKCU "${VERB_KEY}\command" "" '${OPEN_COMMAND}'
  WriteRegStr HKCU "${CLASSES}\${PROGID}" "" "Folio Flat File"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\pellimar.exe,0"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open" "FriendlyAppName" "Pellimar"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open\command" "" '${OPEN_COMMAND}'
  WriteRegStr HKCU "${OPEN_WITH_KEY}" "${PROGID}" ""
  Call NotifyAssociationsChanged
SectionEnd

; Explorer reads the file types again.
!macro NOTIFY_ASSOCIATIONS_CHANGED
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend
Function NotifyAssociationsChanged
  !insertmacro NOTIFY_ASSOCIATIONS_CHANGED
FunctionEnd
Function un.NotifyAssociationsChanged
  !insertmacro NOTIFY_ASSOCIATIONS_CHANGED
FunctionEnd

Section "Uninstall"
  ; A file that cannot go (Windows keeps a running program's file) stops
  ; the uninstall with the uninstaller and its entry still in place, so
  ; that it can be run again.
  ClearErrors
  !insertmacro RemoveFiles
  ${If} ${Errors}
    MessageBox MB_ICONEXCLAMATION "Some of Pellimar's files could not be removed; Pellimar may still be running. \
Close it and run the uninstaller again." /SD IDOK
    Abort "Some files could not be removed."
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER}"
  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Only what the installer wrote: the keys .fff files had before stay.
  DeleteRegKey HKCU "${VERB_KEY}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\SystemFileAssociations\.fff\shell"
  DeleteRegKey /ifempty HKCU "${CLASSES}\SystemFileAssociations\.fff"
  DeleteRegKey HKCU "${CLASSES}\${PROGID}"
  DeleteRegValue HKCU "${OPEN_WITH_KEY}" "${PROGID}"
  DeleteRegKey /ifempty HKCU "${OPEN_WITH_KEY}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.fff"
  Call un.NotifyAssociationsChanged
  ; Not /r: a folder that still holds the user's settings, or anything
  ; else not installed here, stays.
  RMDir "$INSTDIR"
SectionEnd
