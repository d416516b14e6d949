#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vendigo need, when any is
# missing, and the further packages named as arguments (the screenshot and fuzzing scripts name
# theirs). Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config locales
  qt6-base-dev qt6-svg-dev qt6-webengine-dev qt6-websockets-dev
  libcsv-dev nlohmann-json3-dev libxml2-dev libgumbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  dbus libdbus-1-dev xvfb xauth openbox e2fsprogs
  desktop-file-utils appstream
  libxml2-utils default-jre-headless
  libcurl4-openssl-dev openssh-server openssh-client vsftpd
  libsecret-1-dev gnome-keyring
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi

echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
