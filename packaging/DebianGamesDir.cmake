# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Run by cpack between the install into its staging directory and the making of the package:
# the Debian package keeps the program in /usr/games, where Debian puts games, without the
# compiler's version note, which Debian's own strip step removes as well.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT EXISTS "${usr}/${CPACK_TOCKLET_BINDIR}/tocklet")
  message(FATAL_ERROR "no program at ${usr}/${CPACK_TOCKLET_BINDIR}/tocklet to move to games/")
endif()
file(MAKE_DIRECTORY "${usr}/games")
file(RENAME "${usr}/${CPACK_TOCKLET_BINDIR}/tocklet" "${usr}/games/tocklet")
execute_process(COMMAND "${CPACK_TOCKLET_OBJCOPY}" --remove-section=.comment "${usr}/games/tocklet"
  COMMAND_ERROR_IS_FATAL ANY)
file(GLOB left "${usr}/${CPACK_TOCKLET_BINDIR}/*")
if(NOT left)
  file(REMOVE_RECURSE "${usr}/${CPACK_TOCKLET_BINDIR}")
endif()
