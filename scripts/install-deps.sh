#!/usr/bin/env bash
# Installs whatever the build, the demo and the tests need and is not yet present.
# Idempotent and quick when everything is already there.
set -euo pipefail
cd "$(dirname "$0")/.."

APT_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-webengine-dev libgl-dev
  mdbtools mdbtools-dev
  libcpp-httplib-dev libcurl4-openssl-dev
  clang libclang-rt-14-dev clang-format
  nginx-light fonts-noto-cjk xvfb xauth
  haxe libxtst-dev libsodium-dev libarchive-dev
  libglib2.0-bin
  qt6-translations-l10n
)
# Node.js may come from elsewhere with its own npm; take Debian's only when there is none.
command -v npm >/dev/null 2>&1 || APT_PACKAGES+=(nodejs npm)

missing=()
for p in "${APT_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get -o DPkg::Lock::Timeout=600 update -q
  $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
fi

# The Flash emulator, pinned by package-lock.json.
if [ ! -f node_modules/@ruffle-rs/ruffle/ruffle.js ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
  npm ci --no-audit --no-fund --loglevel=error
fi
