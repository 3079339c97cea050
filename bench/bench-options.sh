# The options the benchmarks share, read into dir, rounds, files, fileKB,
# passes and buffers (set their defaults before sourcing this file).
while [ $# -gt 0 ]; do
  case "$1" in
    --dir) dir="$2"; shift 2 ;;
    --rounds) rounds="$2"; shift 2 ;;
    --files) files="$2"; shift 2 ;;
    --file-size) fileKB="$2"; shift 2 ;;
    --passes) passes="$2"; shift 2 ;;
    --buffers) buffers="$2"; shift 2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done
