# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Applies TOCKLET_SANITIZE to every target of the build.
# A sanitized build is for its reports, which line tables and -O1 serve as well: they halve
# its compile time against -O2 with full debug information.
if(NOT TOCKLET_SANITIZE STREQUAL "")
  set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O1 -g1 -DNDEBUG")
endif()

if(TOCKLET_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
elseif(TOCKLET_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT TOCKLET_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TOCKLET_SANITIZE must be empty, 'address' or 'thread', not '${TOCKLET_SANITIZE}'")
endif()
