#!/usr/bin/env bash
# Builds the tool and the lookup tools if needed, creates the demo database
# when it is missing and opens the purge window on it.
# Usage: scripts/run.sh [database-file]   (default: build/demo.db)
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
demo="$build/demo.db"
db="${1:-$demo}"

# Only the demo database is made here: a file named on the command line that
# does not exist is most likely mistyped.
if [ "$(realpath -m "$db")" != "$(realpath -m "$demo")" ] && [ ! -f "$db" ]; then
  echo "run.sh: no database file $db (nothing was created; build/tools/demodb FILE makes one)" >&2
  exit 1
fi

programas=(app/anulacion tools/demodb tools/consulta tools/comprobantes)
for p in "${programas[@]}"; do
  if [ ! -x "$build/$p" ]; then
    scripts/deps.sh
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target anulacion demodb consulta comprobantes
    break
  fi
done

if [ ! -f "$db" ]; then
  echo "Creating the demo database $db"
  "$build/tools/demodb" "$db"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
There is no display here. To see the window, run it under a virtual display:
    xvfb-run -a scripts/run.sh
MSG
  exit 1
fi

# The application folder (purge log VGELI.LOG, error log, query masks) is the
# build folder of the program unless ANULACION_APPDIR names another.
exec "$build/app/anulacion" "@Server=sqlite;@DbName=$(realpath "$db");@Usuario=ADMIN;@Password=;"
