# SPDX-License-Identifier: GPL-3.0-or-later
# Read by CPack for each generator of the Windows packages.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()
