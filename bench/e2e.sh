#!/usr/bin/env bash
# Generating end to end under Wine at the speed of the results area: 10^3, 10^4 and
# 10^5 commands of 'copy a%d.txt b%d.txt' typed and clicked as a user would, each against
# one WM_SETTEXT of the same text into a fresh edit control. Builds what it needs and
# starts its own Xvfb. Last line:
#   e2e_1e3_ratio=<n> e2e_1e4_ratio=<n> e2e_1e5_ms=<n> floor_1e5_ms=<n> ratio=<n>
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/script/bootstrap"
VORMIX_BOOTSTRAPPED=1 "$ROOT/script/build" win vormix vormix_e2e_bench >&2

. "$ROOT/script/wine-env"
vormix_prepare_prefix
vormix_start_xvfb
wine "$ROOT/build/win/vormix_e2e_bench.exe" </dev/null 2>/dev/null | tr -d '\r'
wineserver -k 2>/dev/null || true
