# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Applies TOCKLET_SANITIZE to every target of the build.
if(TOCKLET_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
elseif(TOCKLET_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT TOCKLET_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TOCKLET_SANITIZE must be empty, 'address' or 'thread', not '${TOCKLET_SANITIZE}'")
endif()
