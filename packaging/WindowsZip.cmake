# SPDX-License-Identifier: GPL-3.0-or-later
# The portable zip of a Windows build: one folder that runs from anywhere,
# with the runner, the dialog, the package's presets beside them, the manual,
# the licence and the readme. The same folder as an NSIS installer for one
# user: a Start menu entry for the dialog and an uninstaller.
install(FILES ${PROJECT_SOURCE_DIR}/res/presets.ini DESTINATION . COMPONENT runner)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT runner)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt COMPONENT runner)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(keltWindowsTarget win64)
  set(keltNsisTarget amd64-unicode)
else()
  set(keltWindowsTarget win32)
  set(keltNsisTarget x86-unicode)
endif()
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME keltally)
set(CPACK_PACKAGE_VENDOR "Kel Tallyforge developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME keltally-${PROJECT_VERSION}-${keltWindowsTarget})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)  # the debugging symbols stay in the build tree
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_COMPONENTS_ALL runner dialog)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_MONOLITHIC_INSTALL ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Kel Tallyforge")
set(CPACK_NSIS_PACKAGE_NAME "Kel Tallyforge ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "Kel Tallyforge")
# Per user: in the user's own programs folder, no administrator needed.
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
# The installer of a 64-bit build is itself 64-bit: it runs where only the
# 64-bit programs do (a Wine without its 32-bit half).
set(CPACK_NSIS_DEFINES "RequestExecutionLevel user\n  Target ${keltNsisTarget}")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_PACKAGE_EXECUTABLES keltally "Kel Tallyforge")
set(CPACK_NSIS_INSTALLED_ICON_NAME keltally.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/res/icons/keltally.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/res/icons/keltally.ico)
# The zip's top folder is the zip's own: the installer has none.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/WindowsPackageGenerators.cmake)
include(CPack)
