#!/usr/bin/env bash
# The program built from the layers below ui/ needs no widget, D-Bus or X library, and runs.
set -euo pipefail
program=$1
database=$2
needed=$(readelf -d "$program" | grep NEEDED || true)
if grep -E 'Qt6(Widgets|Gui|DBus)|libxcb|libX11' <<<"$needed"; then
  echo "$program links a library that only ui/ and above may use" >&2
  exit 1
fi
"$program" "$database"
