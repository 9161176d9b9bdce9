# The zip and the NSIS installer of the Windows game: in Spanish, with no licence page to accept,
# Spanish Start-menu entries whose game is the build that hears more voices, and nothing left in
# the registry once uninstalled.
set(CPACK_PACKAGE_NAME "Veldrisa")
set(CPACK_PACKAGE_VENDOR "Veldrisa")
set(CPACK_PACKAGE_VERSION ${VELDRISA_WINDOWS_VERSION})
set(CPACK_PACKAGE_FILE_NAME "veldrisa-windows-x64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Veldrisa")
set(CPACK_RESOURCE_FILE_README ${CMAKE_SOURCE_DIR}/packaging/windows/LEEME.txt)
set(CPACK_NSIS_DISPLAY_NAME "La fortuna de Veldrisa")
set(CPACK_NSIS_PACKAGE_NAME "La fortuna de Veldrisa")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
set(CPACK_NSIS_INSTALLED_ICON_NAME "veldrisa.exe")
set(CPACK_NSIS_MUI_ICON ${GAME_ICON})
set(CPACK_NSIS_MUI_UNIICON ${GAME_ICON})
# A 64-bit game wants a 64-bit, Unicode installer.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")

# The main entry starts veldrisa-32.exe when more voices are registered for 32-bit programs than
# for 64-bit ones (many Spanish voices are 32-bit only), veldrisa.exe otherwise. NSIS strings
# are quoted with single quotes: CPack turns double ones into list separators.
set(CPACK_NSIS_CREATE_ICONS_EXTRA [[
  StrCpy $R1 'veldrisa.exe'
  IfFileExists '$INSTDIR\veldrisa-32.exe' 0 juegoElegido
  SetRegView 64
  StrCpy $R2 0
  voces64:
    EnumRegKey $R0 HKLM 'SOFTWARE\Microsoft\Speech\Voices\Tokens' $R2
    StrCmp $R0 '' voces64Contadas
    IntOp $R2 $R2 + 1
    Goto voces64
  voces64Contadas:
  SetRegView 32
  StrCpy $R3 0
  voces32:
    EnumRegKey $R0 HKLM 'SOFTWARE\Microsoft\Speech\Voices\Tokens' $R3
    StrCmp $R0 '' voces32Contadas
    IntOp $R3 $R3 + 1
    Goto voces32
  voces32Contadas:
  SetRegView 64
  IntCmp $R3 $R2 juegoElegido juegoElegido 0
  StrCpy $R1 'veldrisa-32.exe'
  juegoElegido:
  CreateShortCut '$SMPROGRAMS\$STARTMENU_FOLDER\La fortuna de Veldrisa.lnk' '$INSTDIR\$R1'
  CreateShortCut '$SMPROGRAMS\$STARTMENU_FOLDER\Comprobar la voz.lnk' '$INSTDIR\sapi-check.exe'
  CreateShortCut '$SMPROGRAMS\$STARTMENU_FOLDER\LEEME.lnk' '$INSTDIR\LEEME.txt'
]])
set(CPACK_NSIS_DELETE_ICONS_EXTRA [[
  Delete '$SMPROGRAMS\$MUI_TEMP\La fortuna de Veldrisa.lnk'
  Delete '$SMPROGRAMS\$MUI_TEMP\Comprobar la voz.lnk'
  Delete '$SMPROGRAMS\$MUI_TEMP\LEEME.lnk'
]])

# CMake's own installer script, in Spanish alone, with a Spanish uninstall entry, and removing
# the vendor's registry key too once the game's key inside it is gone.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in template)
string(REPLACE "Uninstall.lnk" "Desinstalar.lnk" template "${template}")
string(REGEX REPLACE "  !insertmacro MUI_LANGUAGE \"[A-Za-z]+\"[^\n]*\n" "" template "${template}")
string(REPLACE ";Languages\n" ";Languages\n  !insertmacro MUI_LANGUAGE \"Spanish\"\n" template "${template}")
set(vendor_key [[DeleteRegKey /ifempty SHCTX "Software\@CPACK_PACKAGE_VENDOR@\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@"]])
string(REPLACE "${vendor_key}" "${vendor_key}\n  DeleteRegKey /ifempty SHCTX \"Software\\@CPACK_PACKAGE_VENDOR@\""
  template "${template}")
file(WRITE ${CMAKE_BINARY_DIR}/nsis/NSIS.template.in "${template}")
set(CPACK_MODULE_PATH ${CMAKE_BINARY_DIR}/nsis)
include(CPack)
