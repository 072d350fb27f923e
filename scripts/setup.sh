#!/usr/bin/env bash
# Installs what the build needs (Debian packages) and configures and builds the
# project in ./build. Sourced by run.sh and test.sh; quiet when nothing is missing.
set -euo pipefail

KORVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KORVANE_BUILD="${KORVANE_BUILD:-$KORVANE_ROOT/build}"
# Several checkouts of the tree share one compiler cache: paths are hashed
# relative to the checkout.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$KORVANE_ROOT}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"

korvane_packages=(
  build-essential cmake pkg-config ccache
  qt6-base-dev libgl-dev qt6-translations-l10n
  libzip-dev zlib1g-dev zip unzip libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont tango-icon-theme xvfb xauth poppler-utils
  qt6-tools-dev qt6-documentation-tools libqt6sql6-sqlite
)

korvane_install() {
  local missing=()
  for p in "${korvane_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq >/dev/null
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Extra configure options for a build folder of another kind (the sanitizer
# build of test.sh), given when the folder is first configured.
KORVANE_CMAKE_OPTIONS=(${KORVANE_CMAKE_OPTIONS[@]+"${KORVANE_CMAKE_OPTIONS[@]}"})

# Builds the targets given (all of them when none is given).
korvane_build() {
  local jobs log
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  jobs="${KORVANE_JOBS:-$(nproc)}"
  log="$KORVANE_BUILD.log"
  mkdir -p "$KORVANE_BUILD"
  if [ ! -f "$KORVANE_BUILD/CMakeCache.txt" ]; then
    cmake -S "$KORVANE_ROOT" -B "$KORVANE_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      ${KORVANE_CMAKE_OPTIONS[@]+"${KORVANE_CMAKE_OPTIONS[@]}"} >"$log" 2>&1 \
      || { cat "$log"; return 1; }
  fi
  # Quiet on success; on failure show what the compiler said.
  if ! cmake --build "$KORVANE_BUILD" -j "$jobs" ${targets[@]+"${targets[@]}"} >"$log" 2>&1; then
    grep -vE '^\[ *[0-9]+%\]' "$log" | tail -n 200
    return 1
  fi
}
