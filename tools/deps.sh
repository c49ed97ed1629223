#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, only those missing.
# Sourced by ./run and ./test.
set -euo pipefail

KOLMARA_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libsqlite3-dev libgmp-dev
  qt6-qpa-plugins libqt6printsupport6
  fonts-nanum-coding fonts-nanum
  python3 xvfb xauth
)

kolmara_install_deps() {
  local missing=()
  local pkg
  for pkg in "${KOLMARA_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}
