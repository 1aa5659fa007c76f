#!/usr/bin/env bash
# Runs a Windows program of a build folder under Wine, in that build's prefix for the given display
# resolution (default 96 DPI). CTest uses this as the cross-compiling emulator.
#   tools/wine-run.sh [--dpi N] program.exe [arguments...]
# The session itself (prefixes, server, services, desktop, display, address layout) is
# tools/wine-session.sh.
set -euo pipefail
source "$(dirname "$(readlink -f "$0")")/wine-session.sh"
wine_session_fixed_layout bash "$(readlink -f "$0")" "$@"
wine_session_run "$@"
