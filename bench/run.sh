#!/usr/bin/env bash
# Builds the benchmark, runs it under Wine next to the Linux tools a user would pick instead, on
# the same files in the same run, and prints one table of medians and ratios.
# Usage: bench/run.sh [build folder, default build-bench]
# Sizes and repeats come from the environment (defaults in brackets):
#   BENCH_DATA folder for the files [BUILD/bench-data]   BENCH_BIG_MIB big file size [1024]
#   BENCH_REPS repeats [5]   BENCH_GUTMANN_REPS [1]   BENCH_FILL_MIB fill buffer [64]
#   BENCH_SMALL_FILES [10000]   BENCH_SMALL_REPS [3]
#   BENCH_SMALL_LAYOUTS the small files spread over each number of folders in turn ["1 100"]
#   BENCH_TREE_FILES [100000]   BENCH_TREE_FOLDERS [1000]
# A quick run: BENCH_BIG_MIB=128 BENCH_REPS=3 BENCH_SMALL_FILES=1000 BENCH_TREE_FILES=10000 \
#   BENCH_TREE_FOLDERS=100 bench/run.sh
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$here")
build=$(readlink -m "${1:-$root/build-bench}")

data=$(readlink -m "${BENCH_DATA:-$build/bench-data}")
big_mib=${BENCH_BIG_MIB:-1024}
reps=${BENCH_REPS:-5}
gutmann_reps=${BENCH_GUTMANN_REPS:-1}
fill_mib=${BENCH_FILL_MIB:-64}
small_files=${BENCH_SMALL_FILES:-10000}
small_reps=${BENCH_SMALL_REPS:-3}
small_layouts=${BENCH_SMALL_LAYOUTS:-1 100}
tree_files=${BENCH_TREE_FILES:-100000}
tree_folders=${BENCH_TREE_FOLDERS:-1000}

"$root/tools/configure-build.sh" "$build" ferrolet_bench >/dev/null
"$root/tools/wine-prefix.sh" "$build"
source "$root/tools/wine-env.sh" "$build"
bench_exe="$build/bench/ferrolet_bench.exe"

mkdir -p "$data"
need_mib=$((big_mib + 1024))
free_mib=$(df -Pm "$data" | awk 'NR == 2 { print $4 }')
if [ "$free_mib" -lt "$need_mib" ]; then
  echo "run.sh: $data has $free_mib MiB free, the run needs about $need_mib MiB" >&2
  exit 1
fi

load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)
wineserver -p >/dev/null 2>&1 || true
wine cmd /c exit >/dev/null 2>&1 || true
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$data"
}
trap cleanup EXIT

# Linux path to the path the Windows program sees through drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
now() { printf '%s' "$EPOCHREALTIME"; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.6f", b - a }'; }
field() { printf '%s\n' "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"; }
bench() { wine "$bench_exe" "$@" | tr -d '\r'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
  if (NR == 0) print 0; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
rate() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.6f", n / s }'; }

declare -A samples
record() { samples[$1]="${samples[$1]:-} $2"; }
result() { median ${samples[$1]}; }

big="$data/big.bin"
big_bytes=$((big_mib * 1024 * 1024))
make_big() { dd if=/dev/zero of="$big" bs=1M count="$big_mib" conv=fsync status=none; }

ours_overwrite() { # key method [options: fill path, reuse]
  local key=$1 method=$2 out
  shift 2
  out=$(bench overwrite "$method" "$(winpath "$big")" "$@")
  record "$key" "$(rate "$(field "$out" bytes)" "$(field "$out" seconds)")"
}
peer() { # key bytes-or-files command...
  local key=$1 amount=$2 t0 t1
  shift 2
  t0=$(now)
  "$@"
  t1=$(now)
  record "$key" "$(rate "$amount" "$(elapsed "$t0" "$t1")")"
}

echo "Random fill into $fill_mib MiB buffers ..." >&2
while read -r line; do
  case $line in
    "fill path="*) record "fill_$(field "$line" path)" "$(field "$line" gbps)" ;;
    "fill fast="*) fast_path=$(field "$line" fast) ;;
  esac
done < <(bench fill "$fill_mib" "$reps")

echo "Overwriting a $big_mib MiB file ..." >&2
make_big
for round in $(seq 0 "$reps"); do
  [ "$round" -eq 0 ] && prefix=warm_ || prefix=
  ours_overwrite "${prefix}zeros" zeros
  ours_overwrite "${prefix}zeros_reuse" zeros reuse
  peer "${prefix}dd" "$big_bytes" dd if=/dev/zero of="$big" bs=64M count=$((big_mib / 64)) \
    oflag=direct conv=notrunc status=none
  ours_overwrite "${prefix}random" random
  ours_overwrite "${prefix}random_scalar" random scalar
  peer "${prefix}shred1" "$big_bytes" shred -n 1 --exact "$big"
  ours_overwrite "${prefix}dod3" dod3
  ours_overwrite "${prefix}dod3_reuse" dod3 reuse
  peer "${prefix}shred3" $((3 * big_bytes)) shred -n 3 --exact "$big"
  ours_overwrite "${prefix}dod7" dod7
  if [ "$round" -ge 1 ] && [ "$round" -le "$gutmann_reps" ]; then
    ours_overwrite gutmann gutmann
  fi
done

make_small() { # folder files subfolders
  rm -rf "$1"
  mkdir -p "$1"
  local per=$(($2 / $3)) k dir
  for k in $(seq 1 "$3"); do
    dir=$1
    if [ "$3" -gt 1 ]; then
      dir="$1/d$k"
      mkdir -p "$dir"
    fi
    head -c $((per * 1024)) /dev/urandom | split -b 1024 -a 6 - "$dir/f"
  done
  sync
}
small="$data/small"
leftover=0
declare -A profiles
for folders in $small_layouts; do
  echo "Shredding $small_files files of 1 KiB in $folders folder(s) ..." >&2
  for round in $(seq 0 "$small_reps"); do
    prefix=
    files=$(((small_files / folders) * folders))
    if [ "$round" -eq 0 ]; then
      prefix=warm_
      files=$(((files < 1000 ? files : 1000) / folders * folders))
    fi
    make_small "$small" "$files" "$folders"
    out=$(bench shredfiles zeros "$(winpath "$small")" profile) || true
    record "${prefix}small_$folders" "$(rate "$(field "$(grep '^shredfiles' <<<"$out")" files)" \
      "$(field "$(grep '^shredfiles' <<<"$out")" seconds)")"
    profiles[$folders]=$(grep '^profile' <<<"$out" || true)
    leftover=$((leftover + $(find "$small" -type f | wc -l)))
    make_small "$small" "$files" "$folders"
    peer "${prefix}shred_small_$folders" "$files" \
      sh -c 'find "$1" -type f -print0 | xargs -0 shred -n 1 -u' sh "$small"
  done
done
rm -rf "$small"

echo "Counting $tree_files files in $tree_folders folders ..." >&2
tree="$data/tree"
mkdir -p "$tree"
seq -f "$tree/d%05g" 0 $((tree_folders - 1)) | xargs mkdir -p
awk -v t="$tree" -v f="$tree_folders" -v n="$tree_files" \
  'BEGIN { for (i = 0; i < n; i++) printf "%s/d%05d/f%07d\n", t, i % f, i }' | xargs touch
out=$(bench count "$(winpath "$tree")" "$reps")
count_items=$(field "$out" items)
record count "$(rate "$count_items" "$(field "$out" seconds)")"

echo "Peak memory of ShredFile with DOD 3 on the $big_mib MiB file ..." >&2
peak=$(bench peak dod3 "$(winpath "$big")")

# The table.
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
mem=$(free -g | awk '/^Mem:/ { print $2 " GiB" }')
disk=$(df -PhT "$data" | awk 'NR == 2 { print $1 " (" $2 ", " $3 ")" }')
echo
echo "Machine: $(nproc) CPUs, $cpu, $mem RAM, disk $disk, $(wine --version)"
echo "Load average (1, 5, 15 min): $load_at_start at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end."
echo "Fast fill path: $fast_path. Medians of $reps repeats ($small_reps for small files," \
  "$gutmann_reps for Gutmann), after one warm-up round; big file $big_mib MiB;" \
  "$small_files small files."
echo
gb() { awk -v v="$1" 'BEGIN { printf "%.2f GB/s", v / 1e9 }'; }
num() { awk -v v="$1" -v u="$2" 'BEGIN { printf "%.0f %s", v, u }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2fx", a / b }'; }
meets() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { print (a / b >= t ? "met" : "MISSED") }'; }
row() { printf '%-34s %-14s %-30s %-14s %-8s %s\n' "$@"; }
row "Measure" "Ferrolet" "Peer" "Peer" "Ratio" "Target"
fill_scalar=$(result fill_scalar)
fill_fast=$(result fill_fast)
row "Random fill ($fill_mib MiB)" "$(awk -v v="$fill_fast" 'BEGIN { printf "%.2f GB/s", v }')" \
  "scalar reference" "$(awk -v v="$fill_scalar" 'BEGIN { printf "%.2f GB/s", v }')" \
  "$(ratio "$fill_fast" "$fill_scalar")" ">= 8x $(meets "$fill_fast" "$fill_scalar" 8)"
for path in sse2 avx2 avx512; do
  [ -n "${samples[fill_$path]:-}" ] || continue
  value=$(result "fill_$path")
  row "  fill path $path" "$(awk -v v="$value" 'BEGIN { printf "%.2f GB/s", v }')" "" "" \
    "$(ratio "$value" "$fill_scalar")" ""
done
row "OverwriteZeros" "$(gb "$(result zeros)")" "dd oflag=direct bs=64M" "$(gb "$(result dd)")" \
  "$(ratio "$(result zeros)" "$(result dd)")" ">= 0.8x $(meets "$(result zeros)" "$(result dd)" 0.8)"
row "  one reused chunk buffer" "$(gb "$(result zeros_reuse)")" "dd oflag=direct bs=64M" \
  "$(gb "$(result dd)")" "$(ratio "$(result zeros_reuse)" "$(result dd)")" "(experiment)"
row "OverwriteRandom" "$(gb "$(result random)")" "shred -n 1 --exact" "$(gb "$(result shred1)")" \
  "$(ratio "$(result random)" "$(result shred1)")" ""
row "OverwriteRandom, scalar fill" "$(gb "$(result random_scalar)")" "shred -n 1 --exact" \
  "$(gb "$(result shred1)")" "$(ratio "$(result random_scalar)" "$(result shred1)")" ""
row "OverwriteDod3" "$(gb "$(result dod3)")" "shred -n 3 --exact" "$(gb "$(result shred3)")" \
  "$(ratio "$(result dod3)" "$(result shred3)")" ">= 1.5x $(meets "$(result dod3)" "$(result shred3)" 1.5)"
row "  one reused chunk buffer" "$(gb "$(result dod3_reuse)")" "shred -n 3 --exact" \
  "$(gb "$(result shred3)")" "$(ratio "$(result dod3_reuse)" "$(result shred3)")" "(experiment)"
row "OverwriteDod7" "$(gb "$(result dod7)")" "shred -n 3 --exact" "$(gb "$(result shred3)")" \
  "$(ratio "$(result dod7)" "$(result shred3)")" ""
if [ -n "${samples[gutmann]:-}" ]; then
  row "OverwriteGutmann" "$(gb "$(result gutmann)")" "shred -n 3 --exact" "$(gb "$(result shred3)")" \
    "$(ratio "$(result gutmann)" "$(result shred3)")" ""
fi
for folders in $small_layouts; do
  row "ShredFile, 1 KiB files, $folders dir(s)" "$(num "$(result "small_$folders")" files/s)" \
    "shred -n 1 -u" "$(num "$(result "shred_small_$folders")" files/s)" \
    "$(ratio "$(result "small_$folders")" "$(result "shred_small_$folders")")" \
    ">= 2x $(meets "$(result "small_$folders")" "$(result "shred_small_$folders")" 2)"
done
row "CountShredItems, $count_items items" "$(num "$(result count)" entries/s)" "" "" "" ""
# The job's own memory: the peak working set above the working set just before ShredFile.
peak_growth=$(awk -v a="$(field "$peak" peak_workingset_mib)" -v b="$(field "$peak" workingset_before_mib)" \
  'BEGIN { printf "%.1f", a - b }')
row "Peak memory of ShredFile, DOD 3" "+$peak_growth MiB" "one 64 MiB chunk" "64 MiB" \
  "$(ratio "$peak_growth" 64)" "<= 64 MiB + a few: $(awk -v g="$peak_growth" \
  'BEGIN { print (g <= 72 ? "met" : "MISSED") }')"
echo
echo "Files left behind by ShredFile: $leftover"
echo "Memory counters: $peak"
for folders in $small_layouts; do
  echo
  echo "Where ShredFile's time goes, $small_files files in $folders folder(s), last round:"
  while read -r line; do
    [ -n "$line" ] || continue
    printf '  %-28s %6s calls/file %9s ms/file\n' "$(field "$line" operation)" \
      "$(field "$line" calls_per_item)" "$(field "$line" ms_per_item)"
  done <<<"${profiles[$folders]}"
done
