#!/usr/bin/env bash
# Measures keltally-cli against fio doing the same work in the same folder:
# sequential write of the same files (one after another), then reads that
# sweep the files block by block, one transfer at a time, direct I/O.
# Several interleaved rounds per buffer size; prints medians as ratios
# runner/fio (target: at least 0.97), and the runner's CPU time and peak
# memory against its bound (transfer buffer + samples table + 16 MB).
#
# Usage: bench/run-vs-fio.sh [--dir DIR] [--rounds N] [--files N] [--file-size KB] [--passes N]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

dir="" rounds=3 files=2 fileKB=49152 passes=3 buffers="4 96 1024"
source bench/bench-options.sh

scripts/setup-debian.sh fio time python3
scripts/build.sh >/dev/null
cli="$root/${BUILD_DIR:-build}/cli/keltally-cli"

work="$(mktemp -d "${dir:-$root}/.kelt-bench-XXXXXX")"
results="$(mktemp -d)"
trap 'rm -rf "$work" "$results"' EXIT

run_cli() {  # buffer round
  local out="$results/cli-$1-$2"
  /usr/bin/time -f '%U %S %M' -o "$out.time" \
    "$cli" --dir "$work" --files "$files" --file-size "$fileKB" --buffer "$1" \
    --reads "$passes" --writes "$passes" --resolution 10 --json "$out.json" >/dev/null
}

run_fio() {  # buffer round
  local out="$results/fio-$1-$2" size=$((files * fileKB))
  local common=(--directory="$work" --nrfiles="$files" --filesize="${fileKB}k" --size="${size}k" --bs="${1}k"
                --direct=1 --ioengine=psync --iodepth=1 --numjobs=1 --loops="$passes" --output-format=json
                --filename_format='fio.$filenum')
  # Like the runner, every write pass writes new, empty files.
  fio --name=write --rw=write --file_service_type=sequential --fallocate=none --unlink_each_loop=1 "${common[@]}" >"$out-write.json"
  fio --name=read --rw=read --file_service_type=roundrobin "${common[@]}" >"$out-read.json"
  rm -f "$work"/fio.*
}

for round in $(seq 1 "$rounds"); do
  for buffer in $buffers; do
    if [ $((round % 2)) -eq 1 ]; then run_cli "$buffer" "$round"; run_fio "$buffer" "$round"
    else run_fio "$buffer" "$round"; run_cli "$buffer" "$round"; fi
  done
done

python3 - "$results" "$rounds" "$files" "$fileKB" "$buffers" <<'PY'
import json, statistics, sys
results, rounds, files, file_kb = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
buffers = [int(b) for b in sys.argv[5].split()]
MIB = 1048576.0
print(f"{files} files of {file_kb} KB, {rounds} rounds, medians")
print(f"{'buffer':>8} {'write r/f':>10} {'read r/f':>10} {'runner w MB/s':>14} {'fio w MB/s':>11} "
      f"{'runner r MB/s':>14} {'fio r MB/s':>11} {'cpu s':>7} {'peak MB':>8} {'bound MB':>9}")
for b in buffers:
    rw, rr, fw, fr, cpu, peak = [], [], [], [], [], []
    for r in range(1, rounds + 1):
        run = json.load(open(f"{results}/cli-{b}-{r}.json"))
        writes = [p["rate"] for p in run["passes"] if p["kind"] == "Record"]
        reads = [p["rate"] for p in run["passes"] if p["kind"] == "Play"]
        rw.append(statistics.mean(writes) * MIB)
        rr.append(statistics.mean(reads) * MIB)
        fw.append(json.load(open(f"{results}/fio-{b}-{r}-write.json"))["jobs"][0]["write"]["bw_bytes"])
        fr.append(json.load(open(f"{results}/fio-{b}-{r}-read.json"))["jobs"][0]["read"]["bw_bytes"])
        user, system, rss_kb = open(f"{results}/cli-{b}-{r}.time").read().split()
        cpu.append(float(user) + float(system))
        peak.append(int(rss_kb) * 1024)
    blocks = (file_kb + b - 1) // b
    bound = b * 1024 + files * blocks * 8 + 16 * MIB
    m = statistics.median
    print(f"{b:>6}KB {m(rw) / m(fw):>10.3f} {m(rr) / m(fr):>10.3f} {m(rw) / MIB:>14.1f} {m(fw) / MIB:>11.1f} "
          f"{m(rr) / MIB:>14.1f} {m(fr) / MIB:>11.1f} {m(cpu):>7.2f} {m(peak) / MIB:>8.1f} {bound / MIB:>9.1f}")
PY
