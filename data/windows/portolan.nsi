; The Windows installer of Portolan, made by scripts/package-windows with makensis. It is given:
;   VERSION      the program's version, as 1.3
;   FILES        a script of the File instructions that install the tree: bin\ (portolan.exe, its
;                libraries and Qt plugins) and share\portolan\ (the manual)
;   UNFILES      a script of the Delete and RMDir instructions that remove exactly those files again
;   ICON         portolan.ico
;   OUTFILE      the installer to write
;
; It installs for the current user without administrator rights (into %LOCALAPPDATA%\Programs) or,
; for an administrator who chooses so, for all users (into Program Files); /CurrentUser or /AllUsers
; chooses on the command line, /S installs silently. The installed tree keeps Portolan's layout:
; the program in bin\, the manual in share\portolan\, which tells Portolan that it is an installed copy
; whose settings belong in %APPDATA%\Portolan. The uninstaller removes what was installed, the Start
; menu entry and the .ptn association, and leaves the user's books and settings alone.

Target amd64-unicode ; a 64-bit installer for a 64-bit program
ManifestDPIAware true
SetCompressor /SOLID lzma

!define PRODUCT "Portolan"
!define PUBLISHER "The Portolan developers"
!define PROG_ID "Portolan.SiteBook"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Portolan"
!define INSTALLER_KEY "Software\Portolan"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright 2026 ${PUBLISHER}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${INSTALLER_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallFolder"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${INSTALLER_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!include MultiUser.nsh
!include MUI2.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartPortolan

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

; The installer may run with an administrator's rights, which Portolan started by it would inherit, and
; its settings and books would go to the administrator's folders: Explorer starts it as the user.
Function StartPortolan
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\bin\portolan.exe"'
FunctionEnd

Section "Portolan"
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; Remembered for the next installation and for the uninstaller.
    WriteRegStr SHCTX "${INSTALLER_KEY}" "InstallFolder" "$INSTDIR"
    WriteRegStr SHCTX "${INSTALLER_KEY}" "InstallMode" "$MultiUser.InstallMode"

    ; Started from the Start menu, Portolan begins in the user's own folder, where its file dialogs open.
    StrCpy $OUTDIR "%USERPROFILE%"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\bin\portolan.exe" "" "$INSTDIR\bin\portolan.exe" 0 \
        SW_SHOWNORMAL "" "Keep an address book of FTP sites and start your own FTP client for one"

    ; Site books open with Portolan on a double-click and show its icon.
    WriteRegStr SHCTX "Software\Classes\.ptn" "" "${PROG_ID}"
    WriteRegStr SHCTX "Software\Classes\.ptn" "Content Type" "application/x-portolan-sites"
    WriteRegStr SHCTX "Software\Classes\.ptn\OpenWithProgids" "${PROG_ID}" ""
    WriteRegStr SHCTX "Software\Classes\${PROG_ID}" "" "Portolan site book"
    WriteRegStr SHCTX "Software\Classes\${PROG_ID}\DefaultIcon" "" '"$INSTDIR\bin\portolan.exe",0'
    WriteRegStr SHCTX "Software\Classes\${PROG_ID}\shell\open\command" "" '"$INSTDIR\bin\portolan.exe" "%1"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED

    ; The entry in the list of installed programs.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\bin\portolan.exe",0'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    ; A running Portolan holds its program file and libraries: until it is closed nothing is removed, so
    ; that no half-removed installation is left without its entry among the installed programs.
    retry:
    ClearErrors
    Delete "$INSTDIR\bin\portolan.exe"
    ${If} ${Errors}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Portolan is running. Close it, then choose Retry." \
            /SD IDCANCEL IDRETRY retry
        Abort "Portolan is running: nothing was removed."
    ${EndIf}
    !include "${UNFILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR" ; only when empty: whatever the user put there stays

    Delete "$SMPROGRAMS\${PRODUCT}.lnk"

    ; The association goes; .ptn keeps another program's claim if one took it since.
    ReadRegStr $0 SHCTX "Software\Classes\.ptn" ""
    ${If} $0 == "${PROG_ID}"
        DeleteRegValue SHCTX "Software\Classes\.ptn" ""
        DeleteRegValue SHCTX "Software\Classes\.ptn" "Content Type"
    ${EndIf}
    DeleteRegValue SHCTX "Software\Classes\.ptn\OpenWithProgids" "${PROG_ID}"
    DeleteRegKey /IfEmpty SHCTX "Software\Classes\.ptn\OpenWithProgids"
    DeleteRegKey /IfEmpty SHCTX "Software\Classes\.ptn"
    DeleteRegKey SHCTX "Software\Classes\${PROG_ID}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED

    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    DeleteRegKey SHCTX "${INSTALLER_KEY}"
SectionEnd
