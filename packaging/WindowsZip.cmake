# SPDX-License-Identifier: GPL-3.0-or-later
# The portable zip of a Windows build: one folder that runs from anywhere,
# with the runner, the package's presets beside it, the licence and the readme.
install(FILES ${PROJECT_SOURCE_DIR}/res/presets.ini DESTINATION . COMPONENT runner)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT runner)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt COMPONENT runner)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(keltWindowsTarget win64)
else()
  set(keltWindowsTarget win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME keltally)
set(CPACK_PACKAGE_VENDOR "Kel Tallyforge developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME keltally-${PROJECT_VERSION}-${keltWindowsTarget})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)  # the debugging symbols stay in the build tree
set(CPACK_COMPONENTS_ALL runner)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
include(CPack)
