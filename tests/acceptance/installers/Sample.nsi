; Sample NSIS installer for the acceptance tests: installs one small program and writes an
; Uninstall entry and an uninstaller the way everyday NSIS scripts do.
; makensis -DSAMPLE_APP=<SampleApp.exe> -DOUTFILE=<setup.exe> [-DPER_USER] Sample.nsi
; With PER_USER it installs for the current user only, as a standard user may: into the user's
; local programs folder, with its entry under HKEY_CURRENT_USER.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!ifdef PER_USER
  RequestExecutionLevel user
  !define PRODUCT "Tarnwick Sample User NSIS"
  !define ENTRY_ROOT HKCU
  !define ENTRY_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TarnwickSampleUserNSIS"
  InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
!else
  RequestExecutionLevel admin
  !define PRODUCT "Tarnwick Sample NSIS"
  !define ENTRY_ROOT HKLM
  !define ENTRY_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TarnwickSampleNSIS"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!endif

Name "${PRODUCT}"
OutFile "${OUTFILE}"

Section "Install"
  SetOutPath "$INSTDIR"
  File "/oname=SampleApp.exe" "${SAMPLE_APP}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr ${ENTRY_ROOT} "${ENTRY_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr ${ENTRY_ROOT} "${ENTRY_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr ${ENTRY_ROOT} "${ENTRY_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr ${ENTRY_ROOT} "${ENTRY_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr ${ENTRY_ROOT} "${ENTRY_KEY}" "DisplayIcon" "$INSTDIR\SampleApp.exe"
  WriteRegStr ${ENTRY_ROOT} "${ENTRY_KEY}" "DisplayVersion" "1.2.3"
  WriteRegStr ${ENTRY_ROOT} "${ENTRY_KEY}" "Publisher" "Tarnwick Test Team"
  WriteRegDWORD ${ENTRY_ROOT} "${ENTRY_KEY}" "EstimatedSize" 120
  WriteRegDWORD ${ENTRY_ROOT} "${ENTRY_KEY}" "NoModify" 1
  WriteRegDWORD ${ENTRY_ROOT} "${ENTRY_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\SampleApp.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey ${ENTRY_ROOT} "${ENTRY_KEY}"
SectionEnd
