#!/usr/bin/env bash
# Cross-builds the engine, settings, drives, record, run session, the runner
# and the dialog for 64- and 32-bit Windows (mingw-w64), runs their tests
# under Wine (the dialog's on a virtual display), runs keltally-cli.exe as a
# user would, makes the portable zips and the installers in out/, and
# installs, starts and removes the program with its installer.
# Installs what it needs (as root, or with sudo). Wine lives in a private,
# temporary prefix. Wine neither bypasses the file cache nor enforces its
# alignment rules: the figures of these runs are never a disk's.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
packages=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 googletest cmake ninja-build nsis xvfb)
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The 32-bit Wine comes from the i386 architecture. Where its packages cannot
# be had (a mirror in the middle of a sync), the 32-bit build is still made
# but its tests cannot run, and the machine's package lists are left as found.
if ! installed wine32; then
  added=""
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    added=yes
  fi
  if ! { $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends wine32; }; then
    echo "wine32 could not be installed: the 32-bit tests will not run" >&2
    if [ -n "$added" ]; then
      $sudo dpkg --remove-architecture i386 && $sudo apt-get update -qq || true
    fi
  fi
fi

root="$(pwd)"
WINEPREFIX="$(mktemp -d)"
work="$(mktemp -d)"
# Wine hands the programs their arguments decoded from the locale's encoding.
export WINEPREFIX WINEDEBUG=-all WINEARCH=win64 LC_ALL=C.UTF-8
xvfb=""
stop() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$WINEPREFIX" "$work"
}
trap stop EXIT
# A running server and one finished program first: else the first test can
# hang on a pipe it inherits from the prefix's start-up.
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
# The dialog's tests and the installed dialog need a display: a virtual one.
if [ -z "${DISPLAY:-}" ]; then
  display=$(( 90 + RANDOM % 400 ))
  Xvfb ":$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=":$display"
fi

# keltally-views of the Linux build checks and draws the records the Windows
# runner writes.
views=build/cli/keltally-views
if [ ! -x "$views" ]; then
  BUILD_DIR=build scripts/build.sh keltally-views
fi

fail() {
  echo "test-windows: $*" >&2
  exit 1
}
# Fails unless the folder is empty.
expect_empty() {
  if [ -n "$(ls -A "$1")" ]; then
    ls -la "$1" >&2
    fail "$2 left files in $1"
  fi
}
# Waits up to a minute for the first test file in folder $1 of the run whose
# process is $2 and whose output goes to $3.
await_test_file() {
  for _ in $(seq 600); do
    [ -e "$1/~kelt00x.tmp" ] && return 0
    kill -0 "$2" 2>/dev/null || { cat "$3" >&2; fail "the run in $1 ended before its first file"; }
    sleep 0.1
  done
  fail "no test file appeared in $1"
}

# keltally-cli.exe as a user runs it, on a folder whose name is not ASCII.
runner_checks() {
  local cli="$1/cli/keltally-cli.exe" at="$work/$2" rc=0 runner
  local folder="$at/runs-ü"
  local short=(--files 2 --file-size 256 --buffer 64 --reads 2 --writes 2 --resolution 200)
  local long=(--files 2 --file-size 4096 --buffer 64 --reads 999 --writes 999 --resolution 10)
  mkdir -p "$folder" "$at/pictures"

  timeout 120 wine "$cli" --dir "$folder" "${short[@]}" --json "$at/run.json" >"$at/short.out" 2>&1 ||
    { cat "$at/short.out" >&2; fail "$2: the short run failed"; }
  expect_empty "$folder" "$2: the short run"
  grep -q '"directory": ".*runs-ü"' "$at/run.json" || fail "$2: the record does not name the folder"
  timeout 120 "$views" "$at/run.json" "$at/pictures" || fail "$2: keltally-views refused the record"
  [ -s "$at/pictures/graph.png" ] && [ -s "$at/pictures/text.png" ] || fail "$2: no pictures of the record"

  # A second run in a folder that a run holds is refused; Ctrl-C stops the first.
  # --foreground: else timeout hands the one SIGINT on twice (to the program
  # and to its process group), and a second stop signal ends a run at once.
  timeout --foreground 300 wine "$cli" --dir "$folder" "${long[@]}" >"$at/long.out" 2>&1 &
  runner=$!
  await_test_file "$folder" "$runner" "$at/long.out"
  timeout 120 wine "$cli" --dir "$folder" "${short[@]}" >"$at/second.out" 2>&1 || rc=$?
  [ "$rc" -eq 2 ] || { cat "$at/second.out" >&2; fail "$2: a second run in a held folder ended with $rc, not 2"; }
  kill -INT "$runner"
  rc=0
  wait "$runner" || rc=$?
  [ "$rc" -eq 130 ] || { cat "$at/long.out" >&2; fail "$2: the stopped run ended with $rc, not 130"; }
  expect_empty "$folder" "$2: the stopped run"

  # A closed standard output stops a run as on Linux.
  rc=0
  timeout 120 wine "$cli" --dir "$folder" "${long[@]}" 2>"$at/pipe.err" | head -n 1 >/dev/null || rc=$?
  [ "$rc" -eq 141 ] || { cat "$at/pipe.err" >&2; fail "$2: the run whose output closed ended with $rc, not 141"; }
  expect_empty "$folder" "$2: the run whose output closed"

  # --png: keltally-views.exe beside the runner draws both pictures with GDI.
  timeout 120 wine "$cli" --dir "$folder" "${short[@]}" --png "$at/pictures" >"$at/png.out" 2>&1 ||
    { cat "$at/png.out" >&2; fail "$2: the run with --png failed"; }
  for picture in graph text; do
    [ "$(head -c 4 "$at/pictures/$picture.png" | od -An -c | tr -d ' ')" = '211PNG' ] ||
      fail "$2: --png wrote no $picture.png"
  done
  expect_empty "$folder" "$2: the run with --png"
  echo "Windows $2: the runner's checks passed"
}

# The installer as a user runs it, silently: the program's folder and its
# Start menu entry, the dialog started from that entry, and the uninstaller,
# which leaves neither behind.
installer_checks() {
  local installer folder unixFolder link
  installer="$(ls "$root"/out/keltally-*-"$1".exe)"
  folder="C:\\users\\Public\\KelTally-$1"
  timeout 120 wine "$installer" /S "/D=$folder" || fail "$1: the silent install failed"
  unixFolder="$(winepath -u "$folder" 2>/dev/null)"
  for file in keltally.exe keltally-cli.exe keltally.html presets.ini LICENSE.txt Uninstall.exe; do
    [ -e "$unixFolder/$file" ] || fail "$1: the installer left out $file"
  done
  link="$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Kel Tallyforge.lnk' | head -n 1)"
  [ -n "$link" ] || fail "$1: no Start menu entry"
  timeout 60 wine start /unix "$link" >/dev/null 2>&1 || fail "$1: the Start menu entry did not start"
  # Its process, found by the installed program's path; ended through Wine.
  for _ in $(seq 300); do
    pgrep -f "KelTally-$1.keltally\.exe" >/dev/null && break
    sleep 0.1
  done
  wine taskkill /f /im keltally.exe >/dev/null 2>&1 || fail "$1: the dialog did not start from the Start menu"
  timeout 120 wine "$unixFolder/Uninstall.exe" /S || fail "$1: the silent uninstall failed"
  # The uninstaller works from a copy of itself and returns at once.
  for _ in $(seq 300); do
    [ ! -e "$unixFolder" ] && [ ! -e "$link" ] && break
    sleep 0.1
  done
  [ ! -e "$unixFolder" ] || { ls -laR "$unixFolder" >&2; fail "$1: the uninstaller left $unixFolder"; }
  [ ! -e "$link" ] || fail "$1: the uninstaller left the Start menu entry"
  echo "Windows $1: installed, started from the Start menu and removed"
}

mkdir -p out
for target in win64 win32; do
  build="${BUILD_PREFIX:-build}-$target"
  bits=${target#win}
  cmake -S . -B "$build" -G Ninja -DKELT_WERROR="${KELT_WERROR:-OFF}" \
        -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-mingw$bits.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build"
  (cd "$build" && cpack -G "ZIP;NSIS" -B "$root/out" >/dev/null && rm -rf "$root/out/_CPack_Packages")
  echo "Windows $target: portable zip and installer in out/keltally-*-$target.{zip,exe}"
  if [ "$target" = win32 ] && ! installed wine32; then
    echo "Windows 32-bit: built; its tests were not run (no wine32 here)" >&2
    continue
  fi
  (cd "$build" && ctest --output-on-failure -j2 --timeout 300)
  runner_checks "$build" "$target"
  installer_checks "$target"
done
