#!/usr/bin/env bash
# Regenerates docs/screenshot.png, the README's picture of the main window with the demo
# entries: ./twk run without a display takes it under Xvfb (scripts/run-demo.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
shot=$(env -u DISPLAY ./twk run | sed -n 's/^Screenshot of the main window: //p')
[ -n "$shot" ] && [ -f "$shot" ] || { echo "no screenshot was taken"; exit 1; }
mkdir -p docs
cp "$shot" docs/screenshot.png
echo "docs/screenshot.png updated from $shot"
