#!/usr/bin/env bash
# The layering check: a source includes only its own folder and the folders
# below it. Prints each include that breaks it and fails.
# Usage: scripts/capas.sh   (from anywhere inside the repository)
set -euo pipefail
cd "$(dirname "$0")/.."

# What each folder links directly; the folders below it are these and what
# they link in turn. Kept in step with the root CMakeLists.txt.
declare -A ENLAZA=(
  [platform/runtime]=""
  [platform/ui]="platform/runtime"
  [platform/component]="platform/ui"
  [platform/ado]="platform/runtime"
  [database]="platform/ado platform/component"
  [lookup]="database"
  [startup]="lookup"
  [stock]="database"
  [voucher]="lookup stock"
  [lots]="voucher"
  [posting]="lots"
  [purge]="startup"
  [app]="purge"
  [tools]="startup"
  # Its headers are compiled by the test programs of every folder.
  [tests/support]="posting purge tools"
  [bench]="posting purge tools tests/support"
)
# The grid's column numbers are plain constants: stock reads six of them.
declare -A EXCEPCION=([stock]="voucher/columnas.h")

declare -A DEBAJO=()
debajo() {
  local carpeta=$1 d
  if [[ -z ${DEBAJO[$carpeta]+x} ]]; then
    local todas=""
    for d in ${ENLAZA[$carpeta]}; do
      debajo "$d"
      todas+=" $d ${DEBAJO[$d]}"
    done
    DEBAJO[$carpeta]=$todas
  fi
}

# The folder a path belongs to, into CARPETA: platform/<seam>, tests/support,
# or the path's first part.
carpeta_de() {
  case $1 in
  platform/*/*) CARPETA=${1#platform/} CARPETA=platform/${CARPETA%%/*} ;;
  tests/support/*) CARPETA=tests/support ;;
  */*) CARPETA=${1%%/*} ;;
  *) CARPETA=. ;;
  esac
}

# Each folder must come after every folder it links in the root CMakeLists.txt.
mapfile -t orden < <(sed -nE 's/^ *add_subdirectory\(([^) ]+)\).*/\1/p' CMakeLists.txt)
posicion() {
  local c=$1 i
  [[ $c == platform/* ]] && c=platform
  for i in "${!orden[@]}"; do
    [[ ${orden[$i]} == "$c" ]] && { echo "$i"; return; }
  done
  echo -1
}

fallas=0
for c in "${!ENLAZA[@]}"; do
  for d in ${ENLAZA[$c]}; do
    pc=$(posicion "$c")
    pd=$(posicion "$d")
    if ((pc < 0 || pd < 0)) || { [[ $c != platform/* ]] && ((pd >= pc)); }; then
      echo "CMakeLists.txt: $c links $d but is not added after it"
      fallas=$((fallas + 1))
    fi
  done
done

# Every quoted include of every tracked source, as file:line:included.
while IFS=: read -r fuente linea incluido; do
  carpeta_de "$fuente"
  origen=$CARPETA
  if [[ -z ${ENLAZA[$origen]+x} ]]; then
    echo "$fuente: folder $origen is not in this check's table"
    fallas=$((fallas + 1))
    continue
  fi
  carpeta_de "$incluido"
  destino=$CARPETA
  [[ $destino == . || $destino == "$origen" ]] && continue # its own folder, its moc file
  debajo "$origen"
  permitidas=" ${DEBAJO[$origen]} "
  # A test program also links the test support and the demo generator.
  [[ $fuente == *_test.cpp ]] && permitidas+=" tests/support tools "
  [[ $permitidas == *" $destino "* ]] && continue
  [[ " ${EXCEPCION[$origen]:-} " == *" $incluido "* ]] && continue
  echo "$fuente:$linea: $origen includes $incluido"
  fallas=$((fallas + 1))
done < <(git ls-files -z '*.cpp' '*.h' '*.cpp.in' | xargs -0 grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' |
  sed -E 's/^([^:]+):([0-9]+):[^"]*"([^"]+)".*/\1:\2:\3/')

if ((fallas > 0)); then
  echo "$fallas break(s) of the layers" >&2
  exit 1
fi
