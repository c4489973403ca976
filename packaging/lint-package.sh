#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Makes the Debian package and fails when lintian finds an error or a warning in it; the
# informational and pedantic tags are printed, not failed on.
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
lintian --fail-on error,warning --display-info --pedantic "${debs[0]}"
echo "lint-package: lintian finds no error or warning in $(basename "${debs[0]}")"
