#!/usr/bin/env bash
# Starts the real program under a virtual X server with the sample project, waits for its main
# window, takes a screenshot into the test's temporary folder and closes it.
#   smoke-test.sh <orvex> <smoke driver> <project file>
# Set ORVEX_KEEP_SCREENSHOT=1 to keep the folder (its path is printed).
set -euo pipefail
orvex=$1
driver=$2
project=$3
tmp=$(mktemp -d "${TMPDIR:-/tmp}/orvex-smoke.XXXXXX")
if [ "${ORVEX_KEEP_SCREENSHOT:-0}" != 1 ]; then
  trap 'rm -rf "$tmp"' EXIT
fi
# Settings and runtime files of this run stay in the temporary folder.
export ORVEX_SETTINGS_DIR="$tmp/settings"
export XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
echo "smoke: folder $tmp"
xvfb-run -a -s "-screen 0 1280x900x24" "$driver" "$orvex" "$project" "$tmp/screenshot.png"
test -s "$tmp/screenshot.png"
