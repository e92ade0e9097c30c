; The QOR Reader installer: the programs for all users under Program Files, a Start-menu
; entry, the .qor file association and an uninstaller, with the program's icon. makensis -DVERSION
; -DFILES (the File commands, from package-windows.sh) -DICON -DOUTFILE.
Unicode true
Target amd64-unicode
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define APP "QOR Reader"
!define PROGID "QORReader.qor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QORReader"
; Where the program keeps a user's settings and recent files.
!define SETTINGS_KEY "Software\VB and VBA Program Settings\.QOR Reader"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\QOR Reader"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
Icon "${ICON}"
UninstallIcon "${ICON}"

; The installer speaks the language of the user's Windows where it can.
LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\German.nlf"
LangString REMOVE_SETTINGS ${LANG_ENGLISH} "Also remove your QOR Reader settings and recent files?"
LangString REMOVE_SETTINGS ${LANG_GERMAN} "Auch Ihre Einstellungen und zuletzt geöffneten Dateien von QOR Reader entfernen?"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
    SetShellVarContext all
    SetRegView 64
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${APP}"
    CreateShortcut "$SMPROGRAMS\${APP}\${APP}.lnk" "$INSTDIR\qorreader.exe"
    CreateShortcut "$SMPROGRAMS\${APP}\${APP} user guide.lnk" "$INSTDIR\doc\index.html"

    ; The association for all users; the program registers none of its own when it finds it.
    WriteRegStr HKLM "Software\Classes\.qor" "" "${PROGID}"
    WriteRegStr HKLM "Software\Classes\${PROGID}" "" "AC400 DataBase Files"
    WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" '"$INSTDIR\qorreader.exe",0'
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\qorreader.exe" "%1"'

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qorreader.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    SetRegView 64
    Delete "$SMPROGRAMS\${APP}\*.lnk"
    RMDir "$SMPROGRAMS\${APP}"
    ; The association goes only while it is still ours.
    ReadRegStr $0 HKLM "Software\Classes\.qor" ""
    StrCmp $0 "${PROGID}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.qor"
    DeleteRegKey HKLM "Software\Classes\${PROGID}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    RMDir /r "$INSTDIR"
    ; The settings are the user's: removed when asked to, kept by a silent uninstall.
    MessageBox MB_YESNO|MB_ICONQUESTION "$(REMOVE_SETTINGS)" /SD IDNO IDNO keep_settings
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    keep_settings:
    ; This uninstaller runs from a copy in a temporary folder, which Windows removes at the next
    ; restart; NSIS names the folder there before the copy, so the folder, still full then, would
    ; stay behind empty. Named again after the copy, it goes too.
    Delete /REBOOTOK "$EXEPATH"
    RMDir /REBOOTOK "$EXEDIR"
SectionEnd
