#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the client and the tests need,
# skipping those already present.
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev g++-multilib fonts-wqy-microhei clang-14 libclang-rt-14-dev xz-utils unrtf
          dpkg-dev qt6-translations-l10n qt6-l10n-tools
          qt6-qpa-plugins xvfb dbus at-spi2-core python3-pyatspi "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
