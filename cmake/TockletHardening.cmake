# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# The hardening that Debian's own packages get from dpkg-buildflags with
# DEB_BUILD_MAINT_OPTIONS=hardening=+all, for every target of a build without sanitizers (the
# sanitizers bring their own instrumentation and are not shipped).
if(NOT TOCKLET_SANITIZE STREQUAL "")
  return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -fstack-clash-protection -fcf-protection
  -Wformat -Werror=format-security)
# The fortified functions are chosen by the optimiser: a build without -O gets a warning, not them.
add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
add_link_options(LINKER:-z,relro LINKER:-z,now)
