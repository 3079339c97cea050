#!/usr/bin/env bash
# What verifying the data costs: the engine's rates with and without its
# stamped, checked data, and fio's with and without verify=crc32c, on the
# same pattern in the same folder (sequential writes of the files one after
# another, reads that sweep them block by block, direct I/O). Several
# interleaved rounds per buffer size; prints the medians of verified over
# unverified for writing and reading (target: at least 0.98; fio's own ratio
# is the peer) and the CPU time per GiB moved. The engine is keltally-cli,
# with and without --verify, its rates and check figures taken from its record.
#
# Usage: bench/verify-vs-fio.sh [--dir DIR] [--rounds N] [--files N] [--file-size KB] [--passes N] [--buffers "96 1024"]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

dir="" rounds=3 files=2 fileKB=49152 passes=3 buffers="96 1024"
source bench/bench-options.sh

scripts/setup-debian.sh fio time python3
scripts/build.sh --target keltally-cli >/dev/null
cli="$root/${BUILD_DIR:-build}/cli/keltally-cli"

work="$(mktemp -d "${dir:-$root}/.kelt-bench-XXXXXX")"
results="$(mktemp -d)"
trap 'rm -rf "$work" "$results"' EXIT

run_engine() {  # buffer round plain|verify
  local out="$results/engine-$1-$2-$3" verify=()
  [ "$3" = verify ] && verify=(--verify)
  /usr/bin/time -f '%U %S' -o "$out.time" "$cli" --dir "$work" --files "$files" --file-size "$fileKB" \
      --buffer "$1" --reads "$passes" --writes "$passes" --resolution 10 "${verify[@]}" --json "$out.json" >/dev/null
  # result, write and read MB/s (the kinds' averages), generator and checker MB/s, bytes verified, waits
  python3 -c 'import json, sys; r = json.load(open(sys.argv[1])); s = r["summary"]
print(r["result"], s["Record"]["average"], s["Play"]["average"], r.get("generatorRate", 0), r.get("checkerRate", 0),
      r.get("bytesVerified", 0), r.get("transfersWaited", 0))' "$out.json" >"$out.txt"
}

run_fio() {  # buffer round plain|verify
  local out="$results/fio-$1-$2-$3" size=$((files * fileKB)) verify=()
  [ "$3" = verify ] && verify=(--verify=crc32c --do_verify=0)
  # fio would leave its verify state files in the current folder.
  local common=(--verify_state_save=0 --directory="$work" --nrfiles="$files" --filesize="${fileKB}k" --size="${size}k" --bs="${1}k"
                --direct=1 --ioengine=psync --iodepth=1 --numjobs=1 --output-format=json
                --filename_format='fio.$filenum')
  # Every write pass writes new files; the read passes read files laid down with the same data.
  fio --name=write --rw=write --file_service_type=sequential --fallocate=none --unlink_each_loop=1 \
      --loops="$passes" "${verify[@]}" "${common[@]}" >"$out-write.json"
  fio --name=read --rw=write --file_service_type=sequential --fallocate=none "${verify[@]}" "${common[@]}" >/dev/null
  [ "$3" = verify ] && verify=(--verify=crc32c)
  fio --name=read --rw=read --file_service_type=roundrobin --loops="$passes" --overwrite=0 --allow_file_create=0 \
      "${verify[@]}" "${common[@]}" >"$out-read.json"
  rm -f "$work"/fio.*
}

for round in $(seq 1 "$rounds"); do
  for buffer in $buffers; do
    for mode in plain verify; do
      if [ $((round % 2)) -eq 1 ]; then run_engine "$buffer" "$round" "$mode"; run_fio "$buffer" "$round" "$mode"
      else run_fio "$buffer" "$round" "$mode"; run_engine "$buffer" "$round" "$mode"; fi
    done
  done
done

python3 - "$results" "$rounds" "$files" "$fileKB" "$passes" "$buffers" <<'PY'
import json, statistics, sys
results, rounds, files, file_kb, passes = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
buffers = [int(b) for b in sys.argv[6].split()]
MIB = 1048576.0
moved_gib = files * file_kb * 1024.0 * passes * 2 / (1024 * MIB)
m = statistics.median

def engine(b, r, mode):
    status, write, read, gen, check, _, waited = open(f"{results}/engine-{b}-{r}-{mode}.txt").read().split()
    assert status == "complete", status
    user, system = open(f"{results}/engine-{b}-{r}-{mode}.time").read().split()
    return float(write), float(read), (float(user) + float(system)) / moved_gib, float(gen), float(check), int(waited)

def fio(b, r, mode):
    rates, cpu = [], 0.0
    for kind in ("write", "read"):
        job = json.load(open(f"{results}/fio-{b}-{r}-{mode}-{kind}.json"))["jobs"][0]
        assert job["error"] == 0, job["error"]
        rates.append(job[kind]["bw_bytes"] / MIB)
        cpu += (job["usr_cpu"] + job["sys_cpu"]) / 100.0 * job["job_runtime"] / 1000.0
    return rates[0], rates[1], cpu / moved_gib

print(f"{files} files of {file_kb} KB, {passes} passes of each kind, {rounds} rounds, medians; MB/s, CPU s per GiB moved")
print(f"{'buffer':>8} {'who':>7} {'write v/u':>10} {'read v/u':>9} {'write u':>8} {'write v':>8} {'read u':>8} "
      f"{'read v':>8} {'cpu u':>6} {'cpu v':>6}")
gens, checks, waits = [], [], []
for b in buffers:
    for who, get in (("engine", engine), ("fio", fio)):
        u = [get(b, r, "plain") for r in range(1, rounds + 1)]
        v = [get(b, r, "verify") for r in range(1, rounds + 1)]
        if who == "engine":
            gens += [x[3] for x in v]
            checks += [x[4] for x in v]
            waits += [x[5] for x in v]
        col = lambda rows, i: m([x[i] for x in rows])
        print(f"{b:>6}KB {who:>7} {col(v, 0) / col(u, 0):>10.3f} {col(v, 1) / col(u, 1):>9.3f} {col(u, 0):>8.1f} "
              f"{col(v, 0):>8.1f} {col(u, 1):>8.1f} {col(v, 1):>8.1f} {col(u, 2):>6.3f} {col(v, 2):>6.3f}")
print(f"stamp generator {m(gens):.0f} MB/s, checker {m(checks):.0f} MB/s (one core, measured by each verified run)")
print(f"timed transfers that waited for the stamps: at most {max(waits)} in a verified run")
PY
