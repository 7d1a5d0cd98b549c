#!/usr/bin/env bash
# Installs the Debian packages the build needs (only what is missing), then configures and builds.
# Sourced by ./run and ./test; BUILD_DIR and extra CMake arguments may be set by the caller.
set -euo pipefail

TINDRAL_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-image-formats-plugins libgl1-mesa-dev
  libpugixml-dev libzip-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils xvfb xauth
)

tindral_install_packages() {
  local missing=()
  for p in "${TINDRAL_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

tindral_build() {
  local dir="$1"; shift
  cmake -S "$TINDRAL_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
  cmake --build "$dir" --parallel "$(nproc)"
}
