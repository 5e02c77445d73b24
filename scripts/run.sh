#!/usr/bin/env bash
# Builds the tool if needed, creates the demo database when it is missing and
# opens the purge window on it.
# Usage: scripts/run.sh [database-file]   (default: build/demo.db)
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
db="${1:-$build/demo.db}"

if [ ! -x "$build/app/anulacion" ] || [ ! -x "$build/tools/demodb" ]; then
  scripts/deps.sh
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" --target anulacion demodb
fi

if [ ! -f "$db" ]; then
  echo "Creating the demo database $db"
  "$build/tools/demodb" "$db"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
There is no display here. To see the window, run it under a virtual display:
    xvfb-run -a scripts/run.sh
or without any window system (nothing is shown, useful for a quick check):
    QT_QPA_PLATFORM=offscreen scripts/run.sh
MSG
  exit 1
fi

# The application folder (purge log VGELI.LOG, error log, query masks) is the
# build folder of the program unless ANULACION_APPDIR names another.
exec "$build/app/anulacion" "@Server=sqlite;@DbName=$(realpath "$db");@Usuario=ADMIN;@Password=;"
