#!/usr/bin/env bash
# Installs the Debian package of a build and checks it:
#   tools/check-package.sh [BUILD_DIR]     (default build/release)
# Runs as root (dpkg -i): installs orvalle_<version>_amd64.deb with its
# dependencies, runs both installed programs, then lintian (no errors),
# appstreamcli and desktop-file-validate on what was installed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}

version=$(sed -n 's/^project(Orvalle VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=$build/orvalle_${version}_$(dpkg --print-architecture).deb
if [ ! -f "$deb" ]; then
  echo "check-package.sh: $deb is missing; run make package first" >&2
  exit 1
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "check-package.sh installs the package: run it as root" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
echo "== dpkg -i $deb"
if ! dpkg -i "$deb"; then
  # Dependencies the machine lacks: apt brings them and finishes the install.
  apt-get install -f -y -qq -o DPkg::Lock::Timeout=600 --no-install-recommends
fi
dpkg-query -W -f='${Package} ${Version} ${Status}\n' orvalle
dpkg-query -W -f='Depends: ${Depends}\n' orvalle

fail() {
  echo "check-package.sh: $*" >&2
  exit 1
}

echo "== the installed programs"
for program in orvalle orvalle-cli; do
  [ -x /usr/bin/$program ] || fail "/usr/bin/$program is missing"
done
cli_version=$(/usr/bin/orvalle-cli --version)
gui_version=$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/orvalle --version)
echo "$cli_version"
echo "$gui_version"
[ "$cli_version" = "orvalle-cli $version" ] || fail "orvalle-cli --version: $cli_version"
[ "$gui_version" = "orvalle $version" ] || fail "orvalle --version: $gui_version"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
/usr/bin/orvalle-cli --home "$home/home" init
for folder in DATA SEI yLZH; do
  [ -d "$home/home/$folder" ] || fail "orvalle-cli init made no $folder"
done
[ -f /usr/share/doc/orvalle/manual/index.html ] || fail "the manual is missing"

echo "== lintian"
# Errors fail the check; warnings are listed.
lintian --fail-on error --tag-display-limit 0 "$deb"

echo "== appstreamcli validate"
appstreamcli validate --no-net /usr/share/metainfo/org.orvalle.Orvalle.metainfo.xml

echo "== desktop-file-validate"
desktop-file-validate /usr/share/applications/org.orvalle.Orvalle.desktop

echo "Package $(basename "$deb") checked"
