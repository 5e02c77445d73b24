#!/usr/bin/env bash
# Installs what is missing, checks the formatting of the tracked sources and
# the layering of their includes, configures, builds and runs every test:
# first in build/, then with AddressSanitizer and UBSan in build-asan/.
# Usage: scripts/test.sh [--plain | --sanitize]   (only one of the two runs)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

# The formatting first: a badly formatted file fails here, before the build.
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror; then
  echo "Formatting differs from .clang-format. Fix it with:" >&2
  echo "  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i" >&2
  exit 1
fi

# Then the layers: no folder includes one above it.
scripts/capas.sh

run() {
  local build=$1
  shift
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$build" -j"$(nproc)"
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
}

case "${1:-}" in
  --plain) run build ;;
  --sanitize) run build-asan -DANULACION_SANITIZE=ON ;;
  "") run build && run build-asan -DANULACION_SANITIZE=ON ;;
  *) echo "usage: $0 [--plain | --sanitize]" >&2; exit 2 ;;
esac
