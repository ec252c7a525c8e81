; The Windows installer of the MRV-7K2 setup utility: one machine-wide copy
; under Program Files, a Start-menu shortcut for all users, an entry in Apps &
; Features, and inbound firewall rules so that the units' replies reach the
; programs on a private network without the firewall's first-use prompt.
;
; scripts/package-windows builds it with makensis and these defines:
;   VERSION   x.y.z from the project() line of CMakeLists.txt
;   APP_ID    the reverse-DNS id (also the Uninstall key's name)
;   PUBLISHER shown in Apps & Features
;   STAGE     folder holding mrv7k2-setup.exe, mrv7k2-find.exe, LICENSE.txt
;             and README.txt (the zip's contents)
;   ICON      the .ico of the installer and the uninstaller
;   LICENSE_PAGE  LICENSE with one line a paragraph, for the licence page
;   OUTFILE   the installer to write

; makensis runs with -WX, so a missing define fails the build.

Unicode true
; The programs are x86-64 only, so the installer is too: it then sees the real
; Program Files, System32 and the 64-bit registry without redirection.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "MRV-7K2 Setup"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_ID}"
!define RULE_SETUP "${PRODUCT} (mrv7k2-setup.exe)"
!define RULE_FIND "${PRODUCT} (mrv7k2-find.exe)"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade goes where the last install went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} installer"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "MIT License, ${PUBLISHER}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\mrv7k2-setup.exe"

!insertmacro MUI_PAGE_LICENSE "${LICENSE_PAGE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH

; The first language is the fallback; a Japanese system gets Japanese.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString NEEDS_ADMIN ${LANG_ENGLISH} "Installing ${PRODUCT} needs administrator rights."
LangString NEEDS_ADMIN ${LANG_JAPANESE} "${PRODUCT} のインストールには管理者の権限が必要です。"
LangString NEEDS_X64 ${LANG_ENGLISH} "${PRODUCT} runs on 64-bit (x64) Windows only."
LangString NEEDS_X64 ${LANG_JAPANESE} "${PRODUCT} は 64 ビット (x64) 版の Windows でのみ動作します。"

; The shortcut carries the product's name, as Apps & Features does, in every
; language: the uninstaller then knows it whatever language it runs in.
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

!macro RequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_ICONSTOP|MB_OK "$(NEEDS_ADMIN)" /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

; netsh adds a second rule of the same name rather than replacing it, so the
; old rule goes first; a failing netsh (firewall service off) is not fatal.
!macro FirewallAllow NAME PROGRAM
  nsExec::ExecToLog '"$SYSDIR\netsh.exe" advfirewall firewall delete rule name="${NAME}"'
  Pop $0
  nsExec::ExecToLog '"$SYSDIR\netsh.exe" advfirewall firewall add rule name="${NAME}" dir=in action=allow program="${PROGRAM}" profile=private protocol=UDP enable=yes'
  Pop $0
  DetailPrint "netsh add rule ${NAME}: $0"
!macroend

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP|MB_OK "$(NEEDS_X64)" /SD IDOK
    Quit
  ${EndIf}
  !insertmacro RequireAdmin
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "${STAGE}\mrv7k2-setup.exe"
  File "${STAGE}\mrv7k2-find.exe"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "${SHORTCUT}" "$INSTDIR\mrv7k2-setup.exe" "" \
      "$INSTDIR\mrv7k2-setup.exe" 0

  ; Both programs listen for the units' replies on UDP 12310. Without a rule
  ; the first scan's replies are dropped until someone answers the prompt,
  ; and a console scanner started from a script has nobody to answer it.
  !insertmacro FirewallAllow "${RULE_SETUP}" "$INSTDIR\mrv7k2-setup.exe"
  !insertmacro FirewallAllow "${RULE_FIND}" "$INSTDIR\mrv7k2-find.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\mrv7k2-setup.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KB, of what is really on disk now, the uninstaller included.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Function un.onInit
  !insertmacro RequireAdmin
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Uninstall"
  nsExec::ExecToLog '"$SYSDIR\netsh.exe" advfirewall firewall delete rule name="${RULE_SETUP}"'
  Pop $0
  nsExec::ExecToLog '"$SYSDIR\netsh.exe" advfirewall firewall delete rule name="${RULE_FIND}"'
  Pop $0

  Delete "${SHORTCUT}"

  ; Only the files the installer put there: anything the user added stays,
  ; and with it the folder.
  Delete "$INSTDIR\mrv7k2-setup.exe"
  Delete "$INSTDIR\mrv7k2-find.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
