#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root and runs the
# packaged runner from there for one short run: it must succeed and leave
# nothing behind.
set -euo pipefail
cd "$(dirname "$0")/.."
deb="$(scripts/package.sh | tail -n 1)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/root" "$scratch/run" "$scratch/config"
dpkg-deb -x "$deb" "$scratch/root"
cli="$scratch/root/usr/bin/keltally-cli"
XDG_CONFIG_HOME="$scratch/config" "$cli" --dir "$scratch/run" --files 1 --file-size 256 --buffer 64 \
  --reads 2 --writes 2 >/dev/null
if [ -n "$(ls -A "$scratch/run")" ]; then
  echo "the packaged runner left files behind:" >&2
  ls -la "$scratch/run" >&2
  exit 1
fi
echo "packaged keltally-cli ran from $deb"
