#!/usr/bin/env bash
# Installs Wine with its 32-bit part (wine32), under which the round trip of
# the JV-Link bridge runs. Optional: prints why and exits 1 when it cannot.
# As root only.
#
# wine32 needs the i386 build of every shared library at exactly the version
# of the installed amd64 one. When a mirror's i386 index of the security
# archive cannot be fetched, the versions of the release (point releases
# included) are taken for both architectures instead.
set -uo pipefail

if command -v wine >/dev/null && dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null |
    grep -q "install ok installed"; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "Wine (32-bit) is not installed; as root run: dpkg --add-architecture i386 &&" \
       "apt-get update && apt-get install wine wine32" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
log=/tmp/orvalle-wine.log
dpkg --add-architecture i386
apt-get update -qq >"$log" 2>&1 || true   # a lagging index of one archive is handled below

packages=(wine wine32)
apt-get install -y -qq --no-install-recommends "${packages[@]}" >>"$log" 2>&1 && exit 0
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
if [ -n "$release" ] &&
    apt-get install -y -qq --no-install-recommends -t "$release" "${packages[@]}" >>"$log" 2>&1; then
  exit 0
fi
echo "Wine (32-bit) could not be installed; see $log" >&2
exit 1
