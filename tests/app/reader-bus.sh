#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Runs a test program where Qt's accessibility is on, as under a screen reader: a window under
# Xvfb, a private session bus and accessibility bus. The program's own events go to its test's
# update handler, not to the bus.
#   reader-bus.sh <test program> [argument...]
set -uo pipefail
if [ -z "${E2E_SESSION_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "reader-bus.sh: SKIPPED: no dbus-run-session" >&2; exit 77; }
    E2E_SESSION_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/../e2e/lib.sh"

e2e_init
e2e_start_xvfb || e2e_skip "Xvfb cannot start"
export HOME="$E2E_TMP/home" XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# The bus launcher takes the session bus's environment, else the machine's own home.
dbus-update-activation-environment HOME XDG_RUNTIME_DIR DISPLAY || e2e_fail "the session bus takes no environment"
gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress >/dev/null ||
    e2e_skip "the accessibility bus does not start"
cd "$E2E_TMP" || e2e_fail "no working directory"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
