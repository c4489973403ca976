#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Builds the Debian package, checks what it declares and holds, unpacks it into a temporary
# root and starts the program from /usr/games there once under Xvfb.
#   installed-package.sh <build directory> <desktop id>
set -uo pipefail
source "$(dirname "$0")/lib.sh"
build=$1
id=$2

e2e_init
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$E2E_TMP/package" >"$E2E_TMP/cpack.log" 2>&1 \
    || { cat "$E2E_TMP/cpack.log" >&2; e2e_fail "cpack could not make the package"; }
debs=("$E2E_TMP"/package/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || e2e_fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}

depends=$(dpkg-deb -f "$deb" Depends) || e2e_fail "no control file in $deb"
e2e_log "Depends: $depends"
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libpulse0 fonts-ipafont-gothic; do
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || e2e_fail "the package does not depend on $needed"
done

root="$E2E_TMP/root"
dpkg -x "$deb" "$root" || e2e_fail "dpkg -x failed"
for file in usr/games/tocklet usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml; do
    [ -s "$root/$file" ] || e2e_fail "the package lacks /$file"
done
[ ! -e "$root/usr/bin/tocklet" ] || e2e_fail "the package holds the program in /usr/bin as well as in /usr/games"
for size in 16 32 48 64 128 256; do
    icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -s "$icon" ] || e2e_fail "the package lacks the $size px icon"
    actual=$(identify -format '%wx%h' "$icon") || e2e_fail "cannot read $icon"
    [ "$actual" = "${size}x${size}" ] || e2e_fail "the $size px icon is $actual"
done
desktop-file-validate "$root/usr/share/applications/$id.desktop" || e2e_fail "installed desktop entry is invalid"
grep -qx "Exec=tocklet" "$root/usr/share/applications/$id.desktop" || e2e_fail "the desktop entry does not run tocklet"

e2e_start_xvfb || e2e_skip "Xvfb cannot start, so the installed program cannot be started"
cd "$E2E_TMP" || e2e_fail "no working directory"
e2e_start "$root/usr/games/tocklet"
e2e_find_window Tocklet 15 >/dev/null || e2e_fail "the installed program showed no window titled Tocklet"
# The game window keeps itself open on close requests; SIGTERM ends it as Exit does.
e2e_terminate 10 || e2e_fail "the installed program still runs 10 s after SIGTERM"
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after SIGTERM, not 0"
e2e_log "package $(basename "$deb") installs and starts"
