#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root, checks that it
# holds the manual pages and the runner's completion, and runs the packaged
# runner from there for one short run: it must succeed and leave nothing
# behind.
set -euo pipefail
cd "$(dirname "$0")/.."
deb="$(scripts/package.sh | tail -n 1)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/root" "$scratch/run" "$scratch/config"
dpkg-deb -x "$deb" "$scratch/root"
for page in keltally keltally-cli keltally-views; do
  if ! gzip -t "$scratch/root/usr/share/man/man1/$page.1.gz"; then
    echo "the package lacks the manual page $page(1)" >&2
    exit 1
  fi
done
if ! bash -n "$scratch/root/usr/share/bash-completion/completions/keltally-cli"; then
  echo "the package lacks the bash completion of keltally-cli" >&2
  exit 1
fi
cli="$scratch/root/usr/bin/keltally-cli"
XDG_CONFIG_HOME="$scratch/config" "$cli" --dir "$scratch/run" --files 1 --file-size 256 --buffer 64 \
  --reads 2 --writes 2 >/dev/null
if [ -n "$(ls -A "$scratch/run")" ]; then
  echo "the packaged runner left files behind:" >&2
  ls -la "$scratch/run" >&2
  exit 1
fi
echo "packaged keltally-cli ran from $deb"
