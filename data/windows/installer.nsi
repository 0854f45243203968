; The Windows installer: makensis -INPUTCHARSET UTF8 builds it from the
; package target (cmake/windows/Package.cmake), which defines
;   VERSION (1.2.3), VERSION4 (1.2.3.0), STAGE (the folder with seeker.exe and
;   README.txt), ICON (seeker.ico) and OUTFILE.
; A per-user install: no administrator prompt, the program under
; %LOCALAPPDATA%\Programs\Seeker, a Start-menu shortcut and an entry in the
; user's list of installed programs. /S installs silently, /D=DIR elsewhere;
; "uninstall.exe /S" removes it all silently. The user's own
; %APPDATA%\seeker\sites.conf is never touched.
Unicode true
; 64-bit like the program: a 32-bit Windows, which cannot run it, refuses the
; installer too (and wine64 runs it without a 32-bit wine).
Target amd64-unicode
ManifestDPIAware true
ManifestSupportedOS all
RequestExecutionLevel user
SetCompressor /SOLID lzma
; Installed files get the time of installing: the installer keeps no build
; time, so the same sources make the same installer.
SetDateSave off

!include MUI2.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Seeker"

Name "Seeker"
BrandingText "Seeker ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Seeker"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\seeker.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one for systems in neither language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString ProgramName ${LANG_ENGLISH} "Seeker"
LangString ProgramName ${LANG_SIMPCHINESE} "青柠搜索器"
LangString ProgramComment ${LANG_ENGLISH} "Search torrent sites for magnet and ed2k links"
LangString ProgramComment ${LANG_SIMPCHINESE} "在种子站点搜索磁力链接和电驴链接"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Seeker"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Seeker ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "The Seeker developers"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "The Seeker developers"

Section
  SetOutPath "$INSTDIR"
  File "${STAGE}/seeker.exe"
  File "${STAGE}/README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcut is named in the installer's language; the uninstaller finds
  ; it by the path kept in the uninstall entry.
  StrCpy $0 "$SMPROGRAMS\$(ProgramName).lnk"
  CreateShortcut "$0" "$INSTDIR\seeker.exe" "" "$INSTDIR\seeker.exe" 0 SW_SHOWNORMAL "" \
      "$(ProgramComment)"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "$(ProgramName)"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\seeker.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Seeker developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Comments" "$(ProgramComment)"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "ShortcutPath" "$0"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

; Removes what the installer put there, by name: files the user added to the
; folder keep it, and nothing outside it but the shortcut and the entry goes.
Section "Uninstall"
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "ShortcutPath"
  StrCmp $0 "" 0 +2
  StrCpy $0 "$SMPROGRAMS\$(ProgramName).lnk"
  Delete "$0"
  Delete "$INSTDIR\seeker.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
