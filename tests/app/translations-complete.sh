#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Fails when a translation lacks a text the program shows or keeps one it no longer shows:
# lupdate, run over the sources into a copy of the .ts file, must find every text translated.
#   translations-complete.sh <lupdate> <file.ts> <source>...
set -euo pipefail
lupdate=$1 ts=$2
shift 2
copy=$(mktemp --suffix=.ts)
trap 'rm -f "$copy"' EXIT
cp "$ts" "$copy"
"$lupdate" -silent -locations none "$@" -ts "$copy"
if grep -nE 'type="(unfinished|obsolete|vanished)"' "$copy" >&2; then
    echo "$(basename "$ts"): the texts above are untranslated or no longer shown;" \
        "run cmake --build build --target update_translations and translate them" >&2
    exit 1
fi
echo "$(basename "$ts"): every text is translated ($(grep -c '<translation>' "$copy") texts)"
