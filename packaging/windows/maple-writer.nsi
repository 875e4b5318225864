; The installer of MAPLE CD/DVD Writer for 64-bit Windows. scripts/package-windows
; runs makensis with VERSION, STAGE (the installed program folder),
; UNINSTALL_LIST (a Delete line for each of its files, an RMDir line for each
; of its folders, deepest first) and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "MAPLE CD/DVD Writer"
; "/" cannot stand in a file name.
!define FOLDER "MAPLE CD-DVD Writer"
!define PUBLISHER "MAPLE CD/DVD Writer developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\MapleWriter"
!define PROGID "MapleWriter.IsoImage"
!define CLASSES "Software\Classes"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${FOLDER}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright 2026 the ${PUBLISHER}"

!define MUI_ICON "${STAGE}\maple-writer.ico"
!define MUI_UNICON "${STAGE}\maple-writer.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\maple-writer.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The installer speaks the user's language; others get Simplified Chinese,
; as the program does.
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "TradChinese"
!insertmacro MUI_LANGUAGE "English"

LangString IsoImage ${LANG_SIMPCHINESE} "光盘映像文件"
LangString IsoImage ${LANG_TRADCHINESE} "光碟映像檔"
LangString IsoImage ${LANG_ENGLISH} "Disc image file"

; Removes an HKLM key only when it holds neither values nor keys: other
; programs and Windows itself register .iso too (DeleteRegKey /ifempty would
; drop their values).
!macro DeleteKeyIfEmpty KEY
  EnumRegValue $1 HKLM "${KEY}" 0
  EnumRegKey $2 HKLM "${KEY}" 0
  ${If} $1 == ""
  ${AndIf} $2 == ""
    DeleteRegKey HKLM "${KEY}"
  ${EndIf}
!macroend

Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${FOLDER}.lnk" "$INSTDIR\maple-writer.exe" "" \
                 "$INSTDIR\maple-writer.exe" 0

  ; .iso files open in the record-image window. The program becomes the
  ; default only where no other program is; it is always among "Open with".
  WriteRegStr HKLM "${CLASSES}\${PROGID}" "" "$(IsoImage)"
  WriteRegStr HKLM "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\maple-writer.exe,0"
  WriteRegStr HKLM "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\maple-writer.exe" "%1"'
  WriteRegStr HKLM "${CLASSES}\.iso\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKLM "${CLASSES}\Applications\maple-writer.exe\SupportedTypes" ".iso" ""
  ReadRegStr $0 HKCR ".iso" ""
  ${If} $0 == ""
    WriteRegStr HKLM "${CLASSES}\.iso" "" "${PROGID}"
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\maple-writer.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  ; SHCNE_ASSOCCHANGED: Explorer reads the associations again.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  ; Only what the installer put there: the user's own files in the folder
  ; stay, and so do the settings in %LOCALAPPDATA%\maple-writer.
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${FOLDER}.lnk"

  ReadRegStr $0 HKLM "${CLASSES}\.iso" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue HKLM "${CLASSES}\.iso" ""
  ${EndIf}
  DeleteRegValue HKLM "${CLASSES}\.iso\OpenWithProgids" "${PROGID}"
  !insertmacro DeleteKeyIfEmpty "${CLASSES}\.iso\OpenWithProgids"
  !insertmacro DeleteKeyIfEmpty "${CLASSES}\.iso"
  DeleteRegKey HKLM "${CLASSES}\${PROGID}"
  DeleteRegKey HKLM "${CLASSES}\Applications\maple-writer.exe"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
