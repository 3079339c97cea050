#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing need, when missing.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libgtest-dev googletest qt6-base-dev libgl-dev fonts-liberation
          desktop-file-utils appstream)
# The record and the runner: JSON and the command line, header-only.
packages+=(nlohmann-json3-dev libcli11-dev)
# The runner's tests build a German locale (locales) and make a folder immutable (e2fsprogs).
packages+=(locales e2fsprogs)
# The packaging tests render the manual pages (man-db) and call the runner's completion (bash-completion).
packages+=(man-db bash-completion)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
# A failed index (a mirror in the middle of a sync) need not stop the install.
$sudo apt-get update -qq || true
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
