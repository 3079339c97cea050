#!/usr/bin/env bash
# Builds the Debian packages and checks them: each holds its programs, manual
# pages and (the runner's) completion; the runner's package depends on no
# graphics or Qt library; the packaged runner does one short run from the
# unpacked package and leaves nothing behind; and, as root, the packages
# install and remove cleanly, the runner's alone first.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t debs < <(scripts/package.sh)
deb_of() { printf '%s\n' "${debs[@]}" | grep -E "/$1_[^/]*\.deb$"; }
runner="$(deb_of keltally-cli)"
views="$(deb_of keltally-views)"
dialog="$(deb_of keltally)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "$*" >&2; exit 1; }

expect_files() {
  local deb="$1"; shift
  local listing
  listing="$(dpkg-deb -c "$deb")"
  for path in "$@"; do
    grep -q -- "\.$path\$" <<<"$listing" || fail "$(basename "$deb") lacks $path"
  done
}
expect_files "$runner" /usr/bin/keltally-cli /usr/share/man/man1/keltally-cli.1.gz \
  /usr/share/bash-completion/completions/keltally-cli /usr/share/doc/keltally-cli/copyright
expect_files "$views" /usr/bin/keltally-views /usr/share/man/man1/keltally-views.1.gz \
  /usr/share/doc/keltally-views/copyright
expect_files "$dialog" /usr/bin/keltally /usr/share/man/man1/keltally.1.gz /usr/share/applications/keltally.desktop \
  /usr/share/doc/keltally/copyright
if dpkg-deb -c "$runner" | grep -q -e /usr/bin/keltally-views -e '/usr/bin/keltally$'; then
  fail "the runner's package holds another program"
fi
depends="$(dpkg-deb -f "$runner" Depends)"
if grep -i -E 'qt|libicu|libglib|libgl|libx|fonts' <<<"$depends"; then
  fail "the runner's package depends on a graphics library: $depends"
fi
grep -q 'keltally-cli (= ' <<<"$(dpkg-deb -f "$dialog" Depends)" || fail "the dialog's package does not depend on the runner's"

mkdir "$scratch/root" "$scratch/run" "$scratch/config"
dpkg-deb -x "$runner" "$scratch/root"
bash -n "$scratch/root/usr/share/bash-completion/completions/keltally-cli" || fail "the completion does not parse"
XDG_CONFIG_HOME="$scratch/config" "$scratch/root/usr/bin/keltally-cli" --dir "$scratch/run" --files 1 \
  --file-size 256 --buffer 64 --reads 2 --writes 2 >/dev/null
if [ -n "$(ls -A "$scratch/run")" ]; then
  ls -la "$scratch/run" >&2
  fail "the packaged runner left files behind"
fi

# Installing for real needs root and a machine where the programs are not
# installed by other means.
if [ "$(id -u)" -eq 0 ] && ! dpkg-query -W keltally-cli >/dev/null 2>&1 && [ ! -e /usr/bin/keltally-cli ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -qq "./$runner" >/dev/null
  keltally-cli --version >/dev/null || fail "the installed runner does not start"
  apt-get install -y -qq "./$views" "./$dialog" >/dev/null
  for program in keltally keltally-views; do
    "$program" --version >/dev/null || fail "the installed $program does not start"
  done
  apt-get remove -y -qq keltally keltally-views keltally-cli >/dev/null
  for path in /usr/bin/keltally /usr/bin/keltally-cli /usr/bin/keltally-views /usr/share/keltally \
              /usr/share/doc/keltally-cli /usr/share/man/man1/keltally-cli.1.gz; do
    [ ! -e "$path" ] || fail "$path is left after the packages were removed"
  done
  echo "the packages installed and removed cleanly"
fi
echo "packaged keltally-cli ran from $runner"
