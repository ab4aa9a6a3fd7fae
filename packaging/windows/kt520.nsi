# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows setup program, made by scripts/windows.sh from the files staged for the zip:
#   makensis -DVERSION=1.0 -DSTAGE=<staged folder> -DFILES=<uninstall list> -DICON=<kt520.ico>
#            -DOUTFILE=<setup.exe> packaging/windows/kt520.nsi
# For the current user without administrator rights by default (%LOCALAPPDATA%\Programs\KT-520);
# started as administrator it offers all users (Program Files) too: the page, or /AllUsers.
# /S installs silently. The uninstaller leaves the user's settings (%APPDATA%\kt520) alone.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define NAME "KT-520"
!define PROGID "KT520.Document"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KT-520"
# The program's settings rule knows an installed copy by this file (core/base/programfiles_win.cpp).
!define UNINSTALLER "uninstall.exe"

Name "${NAME}"
OutFile "${OUTFILE}"
BrandingText "${NAME} ${VERSION}"

# MultiUser.nsh: current user by default; the choice of all users only for an administrator.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${NAME}"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINST_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_MUI
!include MultiUser.nsh
# "Highest" would ask an administrator for elevation before anything is chosen; the per-user
# default needs none, so the setup starts as the user started it.
RequestExecutionLevel user

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include "${FILES}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
# The uninstaller speaks the language the setup was run in.
!define MUI_LANGDLL_REGISTRY_ROOT SHCTX
!define MUI_LANGDLL_REGISTRY_KEY "${UNINST_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "InstallerLanguage"
!define MUI_LANGDLL_ALLLANGUAGES

!insertmacro MUI_PAGE_WELCOME
# The licences the zip carries: the program's GPL, then Qt's LGPL.
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE-Qt.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kt520.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "TradChinese"
!insertmacro MUI_RESERVEFILE_LANGDLL

LangString DocumentType ${LANG_SIMPCHINESE} "KT-520 写频文件"
LangString DocumentType ${LANG_ENGLISH} "KT-520 document"
LangString DocumentType ${LANG_TRADCHINESE} "KT-520 寫頻檔案"
LangString NeedsAdmin ${LANG_SIMPCHINESE} "$(^Name) 是为所有用户安装的：请以管理员身份卸载。"
LangString NeedsAdmin ${LANG_ENGLISH} "$(^Name) was installed for all users: uninstall it as an administrator."
LangString NeedsAdmin ${LANG_TRADCHINESE} "$(^Name) 是為所有使用者安裝的：請以系統管理員身分解除安裝。"

Function .onInit
  !insertmacro MULTIUSER_INIT
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

# Tells Explorer that a document type changed, so .qv19 files show the new icon at once.
!macro AssociationsChanged
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

Section
  SetOutPath "$INSTDIR"
  File /r "${STAGE}/*"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\kt520.exe"

  # SHCTX: HKCU for the current user, HKLM for all users (MultiUser.nsh sets which).
  WriteRegStr SHCTX "Software\Classes\.qv19" "" "${PROGID}"
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "$(DocumentType)"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\kt520.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\kt520.exe" "%1"'
  !insertmacro AssociationsChanged

  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayName" "${NAME}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" "Publisher" "KT-520 developers"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\kt520.exe,0"
  WriteRegStr SHCTX "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINST_KEY}" "InstallerLanguage" "$LANGUAGE"
  WriteRegStr SHCTX "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
  # The registry that names this folder says for whom it was installed, whatever the command line.
  ReadRegStr $0 HKLM "${UNINST_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    Call un.MultiUser.InstallMode.AllUsers
    ${If} $MultiUser.InstallMode != "AllUsers"
      MessageBox MB_OK|MB_ICONSTOP "$(NeedsAdmin)" /SD IDOK
      SetErrorLevel 5
      Quit
    ${EndIf}
  ${Else}
    Call un.MultiUser.InstallMode.CurrentUser
  ${EndIf}
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section Uninstall
  # Only what the setup put there: the user's own files in the folder stay, and so does the folder.
  !insertmacro KT520_REMOVE_FILES
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${NAME}.lnk"

  # .qv19 is left to another program that took it over since.
  ReadRegStr $0 SHCTX "Software\Classes\.qv19" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue SHCTX "Software\Classes\.qv19" ""
  ${EndIf}
  DeleteRegKey /ifempty SHCTX "Software\Classes\.qv19"
  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  DeleteRegKey SHCTX "${UNINST_KEY}"
  !insertmacro AssociationsChanged
SectionEnd
