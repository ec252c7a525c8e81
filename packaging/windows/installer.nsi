; The Windows installer of the MRV-7K2 setup utility: one machine-wide copy
; under Program Files, a Start-menu shortcut for all users, an entry in Apps &
; Features, and inbound firewall rules so that the units' replies reach the
; programs without the firewall's first-use prompt.
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
;   INSTANCE  the name of the mutex a running mrv7k2-setup.exe holds
;   REPLY_PORT the UDP port the units answer to
;   SIGN      optional: a command that signs the file named by its argument in
;             place; the uninstaller and the installer then go through it

; makensis runs with -WX, so a missing define fails the build.

Unicode true
; The programs are x86-64 only, so the installer is too: it then sees the real
; Program Files, System32 and the 64-bit registry without redirection.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!ifdef SIGN
  !finalize '"${SIGN}" "%1"' = 0
  !uninstfinalize '"${SIGN}" "%1"' = 0
!endif

!define PRODUCT "MRV-7K2 Setup"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_ID}"
!define RULE_SETUP "${PRODUCT} (mrv7k2-setup.exe)"
!define RULE_FIND "${PRODUCT} (mrv7k2-find.exe)"
!define PUBLIC_SUFFIX "public"

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
; The installer runs elevated; the program must not. The shell the user is
; signed in to starts it, as that user, as a double-click would.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartAsUser

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
LangString STILL_RUNNING ${LANG_ENGLISH} "MRV-7K2 Setup (mrv7k2-setup.exe) is running. Close it, then start this again."
LangString STILL_RUNNING ${LANG_JAPANESE} "MRV-7K2 Setup (mrv7k2-setup.exe) が起動しています。終了してから、もう一度実行してください。"
LangString NEEDS_PROGRAM_FILES ${LANG_ENGLISH} "Choose a folder inside $PROGRAMFILES64. Only there are the programs safe from being replaced by other users of this PC."
LangString NEEDS_PROGRAM_FILES ${LANG_JAPANESE} "$PROGRAMFILES64 の中のフォルダーを選んでください。ほかのユーザーがプログラムを置き換えられないのはその中だけです。"
; The progress page's line for each firewall rule added (netsh's exit code).
LangString FIREWALL_RULE ${LANG_ENGLISH} "Firewall rule"
LangString FIREWALL_RULE ${LANG_JAPANESE} "ファイアウォール規則"

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

!macro Netsh ARGS
  nsExec::ExecToLog '"$SYSDIR\netsh.exe" advfirewall firewall ${ARGS}'
  Pop $0
!macroend

; Two rules a program: any UDP on private and domain networks (an office PC
; in a domain sees its LAN as a domain network), and on a network Windows
; calls public (a new network on Windows 11) only the reply port, which the
; programs hold open just for a 3 s search or a 30 s wait after a setting.
; netsh adds a second rule of the same name rather than replacing it, so the
; old rules go first; a failing netsh (firewall service off) is not fatal.
!macro FirewallAllow NAME PROGRAM
  !insertmacro FirewallRemove "${NAME}"
  !insertmacro Netsh 'add rule name="${NAME}" dir=in action=allow program="${PROGRAM}" profile=private,domain protocol=UDP enable=yes'
  DetailPrint "$(FIREWALL_RULE) ${NAME}: $0"
  !insertmacro Netsh 'add rule name="${NAME} ${PUBLIC_SUFFIX}" dir=in action=allow program="${PROGRAM}" profile=public protocol=UDP localport=${REPLY_PORT} enable=yes'
  DetailPrint "$(FIREWALL_RULE) ${NAME} ${PUBLIC_SUFFIX}: $0"
!macroend

; Exactly the rules FirewallAllow adds, by their names.
!macro FirewallRemove NAME
  !insertmacro Netsh 'delete rule name="${NAME}"'
  !insertmacro Netsh 'delete rule name="${NAME} ${PUBLIC_SUFFIX}"'
!macroend

; A running mrv7k2-setup.exe holds the named mutex of its session (an
; elevated one's cannot be opened: access denied says it is there too).
; Replacing or deleting its files now would leave the folder half old, half
; gone, so both the installer and the uninstaller stop, with ERROR_BUSY.
!macro RefuseWhileRunning
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE}") p.r1 ?e'
  Pop $2
  ${If} $1 P<> 0
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  ${If} $1 P<> 0
  ${OrIf} $2 = 5 ; ERROR_ACCESS_DENIED
    MessageBox MB_ICONSTOP|MB_OK "$(STILL_RUNNING)" /SD IDOK
    SetErrorLevel 170 ; ERROR_BUSY
    Quit
  ${EndIf}
!macroend

; Program Files lets only administrators change what is in it; a folder made
; anywhere else (under C:\, say) lets every signed-in user replace the
; programs or the uninstaller that an administrator runs later. $0 is 1 when
; $INSTDIR, made absolute ($1), is a folder inside 64-bit Program Files.
Function IsInsideProgramFiles
  StrCpy $0 0
  System::Call 'kernel32::GetFullPathNameW(w "$INSTDIR", i ${NSIS_MAX_STRLEN}, w .r1, p 0) i.r2'
  ${If} $2 > 0
  ${AndIf} $2 < ${NSIS_MAX_STRLEN}
    StrLen $3 "$PROGRAMFILES64\"
    StrCpy $4 $1 $3
    StrCpy $5 $1 "" $3
    ; StrCmp ignores case, as the file system does.
    ${If} $4 == "$PROGRAMFILES64\"
    ${AndIf} $5 != ""
      StrCpy $0 1
    ${EndIf}
  ${EndIf}
FunctionEnd

Function .onVerifyInstDir
  Call IsInsideProgramFiles
  ${If} $0 != 1
    Abort ; keeps Install greyed out
  ${EndIf}
FunctionEnd

Function StartAsUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\mrv7k2-setup.exe"'
FunctionEnd

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP|MB_OK "$(NEEDS_X64)" /SD IDOK
    Quit
  ${EndIf}
  !insertmacro RequireAdmin
  !insertmacro RefuseWhileRunning
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Install"
  ; The folder page cannot pick another, but /D= can.
  Call IsInsideProgramFiles
  ${If} $0 != 1
    MessageBox MB_ICONSTOP|MB_OK "$(NEEDS_PROGRAM_FILES)" /SD IDOK
    SetErrorLevel 5 ; ERROR_ACCESS_DENIED
    Quit
  ${EndIf}
  StrCpy $INSTDIR $1 ; the checked path, without any ".."
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
  !insertmacro RefuseWhileRunning
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Uninstall"
  !insertmacro FirewallRemove "${RULE_SETUP}"
  !insertmacro FirewallRemove "${RULE_FIND}"

  Delete "${SHORTCUT}"

  ; Only the files the installer put there: anything the user added stays,
  ; and with it the folder. A file still in use (a mrv7k2-find.exe running
  ; in a command prompt) goes at the next restart.
  Delete /REBOOTOK "$INSTDIR\mrv7k2-setup.exe"
  Delete /REBOOTOK "$INSTDIR\mrv7k2-find.exe"
  Delete /REBOOTOK "$INSTDIR\LICENSE.txt"
  Delete /REBOOTOK "$INSTDIR\README.txt"
  Delete /REBOOTOK "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
