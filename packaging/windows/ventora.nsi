; The Windows installer (makensis, run by scripts/package-windows.sh):
;   makensis -DVERSION=<v> -DSTAGE=<folder> -DICON=<ventora.ico> -DOUTFILE=<setup.exe> ventora.nsi
; STAGE is `cmake --install` of the Windows build; files.nsh and unfiles.nsh beside this script are
; written from it, so that the uninstaller removes exactly the files the installer put there and
; the folders only when they are left empty (cases a user saved there stay).
; Per machine under Program Files; the Start-menu entry; .ventora opens in Ventora; silent with /S.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!addincludedir "${GENERATED}"
!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Ventora"
!define TITLE "Ventora 安全泄放计算"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ventora"
!define PROGID "Ventora.Case"

Name "${TITLE}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Ventora"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${TITLE}"
VIAddVersionKey /LANG=2052 "CompanyName" "Corvalent"
VIAddVersionKey /LANG=2052 "FileDescription" "${TITLE} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "© 2000-2026 Corvalent"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Ventora"
  SetOutPath "$INSTDIR"
  !include "files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${TITLE}.lnk" "$INSTDIR\ventora.exe" "" "$INSTDIR\ventora.exe" 0

  ; A double-click on a case opens it: "%1" quoted, so a path with spaces arrives as one argument.
  WriteRegStr HKLM "Software\Classes\.ventora" "" "${PROGID}"
  WriteRegStr HKLM "Software\Classes\.ventora" "Content Type" "application/x-ventora-case"
  WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Ventora 算例"
  WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$\"$INSTDIR\ventora.exe$\",0"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" "$\"$INSTDIR\ventora.exe$\" $\"%1$\""

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Corvalent"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\ventora.exe$\",0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  ; SHCNE_ASSOCCHANGED: Explorer picks up the new icon and association.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  !include "unfiles.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${TITLE}.lnk"

  ; .ventora only while it still names this program (another may have taken it since).
  ReadRegStr $0 HKLM "Software\Classes\.ventora" ""
  ${If} $0 == "${PROGID}"
    DeleteRegKey HKLM "Software\Classes\.ventora"
  ${EndIf}
  DeleteRegKey HKLM "Software\Classes\${PROGID}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
