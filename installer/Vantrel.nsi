; The setup program of Vantrel: installs the program into "%ProgramFiles%\Vantrel", makes a Start
; menu shortcut and an entry in Add/Remove Programs, and writes the uninstaller. Both run
; silently with /S. Built by the win64 build (make dist) with makensis, which passes:
;   VERSION      the product version of the project() line, e.g. 1.2
;   PROGRAM_DIR  the folder holding the files to install
;   OUTPUT       the setup file to write
;   ICON         the program's icon
Unicode true
; A 64-bit setup for a 64-bit program: it sees the 64-bit registry and Program Files, and it runs
; where 32-bit programs cannot (a 64-bit-only Wine).
Target amd64-unicode
!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Vantrel"
!define PUBLISHER "The Vantrel project"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTPUT}"
; The program is 64-bit: its folder is the 64-bit Program Files.
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    ; The entries go where the 64-bit program reads them, not into the 32-bit view.
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Vantrel" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "${PROGRAM_DIR}\Vantrel.exe"
    File "${PROGRAM_DIR}\vantrel-scan.exe"
    File "${PROGRAM_DIR}\Vantrel.chm"
    File /nonfatal "${PROGRAM_DIR}\*.sui"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Vantrel.exe" "" "$INSTDIR\Vantrel.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vantrel.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "un.Vantrel" UnSecProgram
    SectionIn RO
    Delete "$INSTDIR\Vantrel.exe"
    Delete "$INSTDIR\vantrel-scan.exe"
    Delete "$INSTDIR\Vantrel.chm"
    Delete "$INSTDIR\*.sui"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\uninstall.exe"
    ; Only an empty folder goes: the user's settings and backups stay unless ticked below.
    RMDir "$INSTDIR"
SectionEnd

; Off unless the user ticks it: the settings and the backups are the user's data.
Section /o "un.Settings and repair backups" UnSecUserData
    Delete "$INSTDIR\options.ini"
    RMDir /r "$INSTDIR\backup"
    RMDir "$INSTDIR"
SectionEnd

LangString DESC_UnSecUserData ${LANG_ENGLISH} "Also remove options.ini and the backup folder beside the program. Backups in a folder of your own choosing are never removed."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${UnSecUserData} $(DESC_UnSecUserData)
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
