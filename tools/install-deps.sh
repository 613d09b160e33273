#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Orvalle need
# (`bridge`: the Windows bridge's instead; `package`: also those that check
# the Debian package).
# As root it runs apt-get; otherwise it prints the command to run.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache clang-format
  clang libclang-rt-dev
  libsimpleini-dev libcli11-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  liblhasa-dev jlha-utils libsqlite3-dev
  qt6-base-dev libgl-dev qt6-translations-l10n fonts-noto-cjk fonts-ipafont-gothic poppler-utils
  pandoc librsvg2-bin bash-completion
)

# `install-deps.sh bridge`: the cross compiler of the Windows bridge.
if [ "${1:-}" = bridge ]; then
  packages=(cmake ninja-build ccache g++-mingw-w64-i686)
fi
# `install-deps.sh package`: the checkers of the Debian package (on top of
# the build's packages).
if [ "${1:-}" = package ]; then
  packages+=(dpkg-dev lintian appstream desktop-file-utils)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

command="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Orvalle needs these Debian packages. Please run as root:" >&2
  echo "  apt-get update && $command" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync fails some index of the update; the install below
# still finds the packages through the other indexes, or fails itself. The
# dpkg lock is waited for: CI installs the bridge's packages alongside.
apt-get update -qq || echo "apt-get update failed; installing from the package lists there are" >&2
apt-get install -y -qq -o DPkg::Lock::Timeout=600 --no-install-recommends "${missing[@]}"
