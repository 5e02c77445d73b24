#!/usr/bin/env bash
# Installs what the build and the tests need (Debian). As root it runs
# apt-get; otherwise it prints the line to run.
set -euo pipefail
PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libsqlite3-dev sqlite3
          unixodbc-dev odbcinst libsqliteodbc tdsodbc libgtest-dev clang-format)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
else
  echo "Missing packages. Run:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
