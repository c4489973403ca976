#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Makes the Debian package and fails when lintian finds an error, a warning or a hardening tag
# in it (the other informational and pedantic tags are printed, not failed on), or when the
# packaged program is not a PIE with full RELRO, as Debian's hardened builds make them.
#   lint-package.sh <build directory>
set -euo pipefail
build=$(realpath "$1")
out="$build/lint-package"
rm -rf "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$build/lint-package.log" 2>&1 || {
    cat "$build/lint-package.log" >&2
    echo "lint-package: cpack could not make the package" >&2
    exit 1
}
debs=("$out"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "lint-package: expected one .deb in $out" >&2; exit 1; }
fail() { echo "lint-package: $*" >&2; exit 1; }
tags=$(lintian --fail-on error,warning --display-info --pedantic "${debs[0]}") || { echo "$tags"; fail "lintian failed"; }
echo "$tags"
! grep -q 'hardening-' <<<"$tags" || fail "the program is not built with Debian's hardening flags"

dpkg-deb -x "${debs[0]}" "$out/root"
program="$out/root/usr/games/tocklet"
readelf -h "$program" | grep -q 'Type: *DYN' && readelf -d "$program" | grep -q 'FLAGS_1.*PIE' ||
    fail "the packaged program is not a position-independent executable"
readelf -l "$program" | grep -q GNU_RELRO || fail "the packaged program has no RELRO segment"
readelf -d "$program" | grep -Eq '\(FLAGS\).*BIND_NOW|FLAGS_1.*NOW' ||
    fail "the packaged program binds lazily: its RELRO is partial"
echo "lint-package: lintian finds no error, warning or hardening tag in $(basename "${debs[0]}");" \
    "the program is a PIE with full RELRO"
