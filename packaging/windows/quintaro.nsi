; The Windows edition's installer, built by tools/package-windows.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DSTAGE=<the zip's files> -DSOURCE=<repository>
;            -DOUTFILE=<setup.exe> quintaro.nsi
;
; Per user, no administrator rights: the game goes into %LOCALAPPDATA%\Programs\Quintaro, a
; folder the player owns, since the game reads its files from and writes settings.ini to its
; current folder. The Start-menu shortcut starts it there. The uninstaller is registered for
; the player alone (HKCU) and keeps settings.ini unless the player ticks the box to remove it;
; a silent uninstall (/S) keeps it. An upgrade installs over the old files into the same
; folder and never touches settings.ini.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!macro Required name
    !ifndef ${name}
        !error "${name} is not defined (see the top of this file)"
    !endif
!macroend
!insertmacro Required VERSION
!insertmacro Required STAGE
!insertmacro Required SOURCE
!insertmacro Required OUTFILE

!define PRODUCT "Quintaro"
!define PUBLISHER "The Quintaro developers"
!define HOMEPAGE "https://github.com/quintaro/quintaro"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quintaro"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\Quintaro.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quintaro"
; An upgrade goes where the last installation went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"

!define MUI_ICON "${SOURCE}/assets/quintaro.ico"
!define MUI_UNICON "${SOURCE}/assets/quintaro.ico"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The game starts in its own folder, as from the shortcut.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartGame
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one used when the system's is none of these; otherwise the
; pages follow the system's language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "Bulgarian"

LangString ProgramFiles ${LANG_ENGLISH} "Quintaro and its Start-menu shortcut"
LangString ProgramFiles ${LANG_GERMAN} "Quintaro und die Verknüpfung im Startmenü"
LangString ProgramFiles ${LANG_BULGARIAN} "Quintaro и прекият път в менюто „Старт“"
LangString PlayerSettings ${LANG_ENGLISH} "My settings (settings.ini)"
LangString PlayerSettings ${LANG_GERMAN} "Meine Einstellungen (settings.ini)"
LangString PlayerSettings ${LANG_BULGARIAN} "Моите настройки (settings.ini)"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "MIT licence"

; The files of the zip, installed and removed one by one: the uninstaller removes nothing
; it did not install.
!macro GameFiles action
    !insertmacro ${action} "quintaro.exe"
    !insertmacro ${action} "en.lang"
    !insertmacro ${action} "de.lang"
    !insertmacro ${action} "bg.lang"
    !insertmacro ${action} "dice.wav"
    !insertmacro ${action} "pvp_0.jpg"
    !insertmacro ${action} "pvc_0.jpg"
    !insertmacro ${action} "rules.txt"
    !insertmacro ${action} "LICENSE.txt"
!macroend
!macro InstallFile name
    File "${STAGE}/${name}"
!macroend
!macro RemoveFile name
    Delete "$INSTDIR\${name}"
!macroend

Function .onInit
    SetShellVarContext current
FunctionEnd

Function StartGame
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\quintaro.exe"'
FunctionEnd

Section "-Quintaro"
    SetOutPath "$INSTDIR"
    !insertmacro GameFiles InstallFile
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    ; The shortcut's working folder is the output folder: the install folder.
    CreateShortcut "${SHORTCUT}" "$INSTDIR\quintaro.exe" "" "$INSTDIR\quintaro.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quintaro.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; In KiB, what the folder holds now (with the player's settings of an older install).
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.$(ProgramFiles)"
    SectionIn RO
    !insertmacro GameFiles RemoveFile
    Delete "$INSTDIR\${UNINSTALLER}"
    Delete "${SHORTCUT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; The player's settings go only when the box is ticked; a silent uninstall keeps them.
Section /o "un.$(PlayerSettings)" UninstallSettings
    Delete "$INSTDIR\settings.ini"
    ; What an interrupted save left behind.
    Delete "$INSTDIR\.settings.ini.tmp"
SectionEnd

Section "-un.Folder"
    ; Only an empty folder goes: with the settings kept, the folder stays with them.
    RMDir "$INSTDIR"
SectionEnd

Function un.onInit
    SetShellVarContext current
    ; Unticked at the start, whatever the components page makes of the sections' flags.
    !insertmacro UnselectSection ${UninstallSettings}
FunctionEnd
