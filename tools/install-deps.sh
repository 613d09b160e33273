#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Orvalle need.
# As root it runs apt-get; otherwise it prints the command to run.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache clang-format
  clang libclang-rt-dev
  libsimpleini-dev libcli11-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  liblhasa-dev jlha-utils libsqlite3-dev
  qt6-base-dev libgl-dev qt6-translations-l10n fonts-noto-cjk fonts-ipafont-gothic poppler-utils
)

# `install-deps.sh bridge`: the cross compiler of the Windows bridge.
if [ "${1:-}" = bridge ]; then
  packages=(cmake ninja-build ccache g++-mingw-w64-i686)
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
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
