; Sample NSIS installer for the acceptance tests: installs one small program and writes an
; Uninstall entry and an uninstaller the way everyday NSIS scripts do.
; makensis -DSAMPLE_APP=<SampleApp.exe> -DOUTFILE=<setup.exe> Sample.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "Tarnwick Sample NSIS"
!define ENTRY_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TarnwickSampleNSIS"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"

Section "Install"
  SetOutPath "$INSTDIR"
  File "/oname=SampleApp.exe" "${SAMPLE_APP}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${ENTRY_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${ENTRY_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${ENTRY_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKLM "${ENTRY_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${ENTRY_KEY}" "DisplayIcon" "$INSTDIR\SampleApp.exe"
  WriteRegStr HKLM "${ENTRY_KEY}" "DisplayVersion" "1.2.3"
  WriteRegStr HKLM "${ENTRY_KEY}" "Publisher" "Tarnwick Test Team"
  WriteRegDWORD HKLM "${ENTRY_KEY}" "EstimatedSize" 120
  WriteRegDWORD HKLM "${ENTRY_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${ENTRY_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\SampleApp.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${ENTRY_KEY}"
SectionEnd
