#!/usr/bin/env bash
# Builds the benchmark, runs it under Wine next to the Linux tools a user would pick instead, on
# the same files in the same run, and prints one Markdown table of medians and ratios.
# Usage: bench/run.sh [build folder, default build-bench]
# Everything else comes from the environment (defaults in brackets):
#   BENCH_SECTIONS the measures to take [fill overwrite jobs wipe small count window many manyjob]
#     fill       the random fill, each path against the one-draw-per-byte reference
#     overwrite  each method on the big file, in place (bytes written per second)
#     jobs       whole jobs on the big file, overwrite plus removal on both sides, and the peak
#                memory of the DOD 3 job
#     wipe       the All 0's wipe of a loop-mounted ext4 image's free space, its root listed in
#                the real main window and the job run from there, against dd oflag=direct filling
#                the same space, then rm (root only), its peak memory, and the engine alone
#   Every big-file measure, ours and the peers', starts on a file a user would meet: written and
#   synced, then dropped from the page cache, on a disk with no writes of an earlier measure left
#   to drain.
#     small      ShredFile of 1 KiB files against shred -n 1 -u
#     count      CountShredItems over a big tree
#     window     the whole job through the real main window against the engine alone, and
#                against shred -n 1 -u of every file and rm -r
#     many       many items through the real main window: files of one folder pasted (CF_HDROP
#                on the clipboard, the window's paste command) until the list is painted again,
#                the rows taken for a job and brought up to date after it, Remove Item of every
#                second row and then of all
#     manyjob    the job of small files listed one row each against the same files as one
#                folder row, both through the main window's own list
#   BENCH_DATA folder for the files [BUILD/bench-data]   BENCH_REPS repeats [5]
#   BENCH_BIG_MIB big file size [1024]   BENCH_GUTMANN_REPS [1]   BENCH_FILL_MIB fill buffer [64]
#   BENCH_SMALL_FILES [2000]   BENCH_SMALL_PER_FOLDER files per folder, one run each ["100"]
#   BENCH_SMALL_REPS [3]   BENCH_TREE_FILES [100000]   BENCH_TREE_FOLDERS [1000]
#   BENCH_JOB_FILES [1000]   BENCH_JOB_PER_FOLDER [100]   BENCH_JOB_REPS [5]
#   BENCH_WIPE_MIB the wipe's image size [1024]
#   BENCH_JOB_METHOD the window's method: zeros, random, dod3, dod7 or gutmann [random]
#   BENCH_MANY_COUNTS files pasted, one run each ["1000 10000 50000"]   BENCH_MANY_REPS [3]
#   BENCH_MANY_JOB_FILES [10000]   BENCH_MANY_JOB_REPS [3]
# The window and many measures need a display: the current one, else a private Xvfb started here.
# A quick run (a few minutes):
#   BENCH_BIG_MIB=128 BENCH_REPS=3 BENCH_SMALL_FILES=500 BENCH_SMALL_REPS=1 \
#     BENCH_TREE_FILES=10000 BENCH_TREE_FOLDERS=100 BENCH_JOB_FILES=300 BENCH_JOB_REPS=3 bench/run.sh
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$here")
build=$(readlink -m "${1:-$root/build-bench}")

sections=" ${BENCH_SECTIONS:-fill overwrite jobs wipe small count window many manyjob} "
data=$(readlink -m "${BENCH_DATA:-$build/bench-data}")
big_mib=${BENCH_BIG_MIB:-1024}
reps=${BENCH_REPS:-5}
gutmann_reps=${BENCH_GUTMANN_REPS:-1}
fill_mib=${BENCH_FILL_MIB:-64}
small_files=${BENCH_SMALL_FILES:-2000}
small_per_folder=${BENCH_SMALL_PER_FOLDER:-100}
small_reps=${BENCH_SMALL_REPS:-3}
tree_files=${BENCH_TREE_FILES:-100000}
tree_folders=${BENCH_TREE_FOLDERS:-1000}
job_files=${BENCH_JOB_FILES:-1000}
job_per_folder=${BENCH_JOB_PER_FOLDER:-100}
job_reps=${BENCH_JOB_REPS:-5}
job_method=${BENCH_JOB_METHOD:-random}
many_counts=${BENCH_MANY_COUNTS:-1000 10000 50000}
many_reps=${BENCH_MANY_REPS:-3}
many_job_files=${BENCH_MANY_JOB_FILES:-10000}
many_job_reps=${BENCH_MANY_JOB_REPS:-3}
wants() { [[ $sections == *" $1 "* ]]; }

"$root/tools/setup-deps.sh"
"$root/tools/configure-build.sh" "$build" ferrolet_bench job_bench list_bench >/dev/null
source "$root/tools/wine-session.sh"
wine_session_use "$build"
wine_session_prefix
bench_exe="$build/bench/ferrolet_bench.exe"
job_exe="$build/bench/job_bench.exe"
list_exe="$build/bench/list_bench.exe"

mkdir -p "$data"
need_mib=$((big_mib + 1024))
free_mib=$(df -Pm "$data" | awk 'NR == 2 { print $4 }')
if [ "$free_mib" -lt "$need_mib" ]; then
  echo "run.sh: $data has $free_mib MiB free, the run needs about $need_mib MiB" >&2
  exit 1
fi

if wants window || wants many || wants manyjob || wants wipe; then
  wine_session_display
fi
load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)
wine_session_start
if wants window || wants many || wants manyjob || wants wipe; then
  # Windows are shown as the X server maps them, without a window manager's round trips.
  wine_session_setting 'HKCU\Software\Wine\X11 Driver' Managed N
fi
cleanup() {
  wine_session_end
  rm -rf "$data"
}
trap cleanup EXIT

# Linux path to the path the Windows program sees through drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
now() { printf '%s' "$EPOCHREALTIME"; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.6f", b - a }'; }
field() { printf '%s\n' "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"; }
bench() { wine "$bench_exe" "$@" </dev/null | tr -d '\r'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
  if (NR == 0) print 0; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
rate() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.6f", n / s }'; }

declare -A samples
record() { samples[$1]="${samples[$1]:-} $2"; }
result() { median ${samples[$1]:-}; }
have() { [ -n "${samples[$1]:-}" ]; }

big="$data/big.bin"
big_bytes=$((big_mib * 1024 * 1024))
# The dirty and written-back memory left to the disk, KiB.
unwritten_kib() { awk '/^(Dirty|Writeback):/ { s += $2 } END { print s }' /proc/meminfo; }
# Waits until the writes of earlier measures have reached the disk (at most 60 s).
settle_disk() {
  sync
  local i
  for i in $(seq 300); do
    [ "$(unwritten_kib)" -lt 16384 ] && return 0
    sleep 0.2
  done
}
# The file as a user meets it: on the disk, not in the page cache (GNU dd drops the whole file's
# cached pages with count=0 and iflag=nocache), the disk quiet.
cold_file() {
  sync "$1"
  dd if="$1" iflag=nocache count=0 status=none
  settle_disk
}
make_big() {
  dd if=/dev/zero of="$big" bs=1M count="$big_mib" conv=fsync status=none
  cold_file "$big"
}

# FOLDER FILES PER-FOLDER: FILES files of 1 KiB of random bytes in subfolders of PER-FOLDER each.
make_files() {
  rm -rf "$1"
  mkdir -p "$1"
  local left=$2 k=0 count
  while [ "$left" -gt 0 ]; do
    k=$((k + 1))
    count=$((left < $3 ? left : $3))
    mkdir "$1/d$k"
    head -c $((count * 1024)) /dev/urandom | split -b 1024 -a 6 - "$1/d$k/f"
    left=$((left - count))
  done
  sync
}

ours_overwrite() { # key method [options: fill path, unbuffered]
  local key=$1 method=$2 out
  shift 2
  cold_file "$big"
  out=$(bench overwrite "$method" "$(winpath "$big")" "$@")
  record "$key" "$(rate "$(field "$out" bytes)" "$(field "$out" seconds)")"
}
peer() { # key amount command...: amount per second
  local key=$1 amount=$2 t0 t1
  shift 2
  if [ -f "$big" ]; then cold_file "$big"; fi
  t0=$(now)
  "$@"
  t1=$(now)
  record "$key" "$(rate "$amount" "$(elapsed "$t0" "$t1")")"
}
peer_seconds() { # key command...
  local key=$1 t0 t1
  shift
  t0=$(now)
  "$@"
  t1=$(now)
  record "$key" "$(elapsed "$t0" "$t1")"
}
dd_then_rm() { # file mebibytes [passes]
  local pass
  for pass in $(seq "${3:-1}"); do
    dd if=/dev/zero of="$1" bs=64M count=$(($2 / 64)) oflag=direct conv=notrunc status=none
  done
  rm -f "$1"
}

fast_path=
if wants fill; then
  echo "Random fill into $fill_mib MiB buffers ..." >&2
  while read -r line; do
    case $line in
      "fill path="*) record "fill_$(field "$line" path)" "$(field "$line" gbps)" ;;
      "fill fast="*) fast_path=$(field "$line" fast) ;;
    esac
  done < <(bench fill "$fill_mib" "$reps")
fi

if wants overwrite; then
  echo "Overwriting a $big_mib MiB file in place ..." >&2
  make_big
  for round in $(seq 0 "$reps"); do
    [ "$round" -eq 0 ] && prefix=warm_ || prefix=
    ours_overwrite "${prefix}zeros" zeros
    peer "${prefix}dd" "$big_bytes" dd if=/dev/zero of="$big" bs=64M count=$((big_mib / 64)) \
      oflag=direct conv=notrunc status=none
    ours_overwrite "${prefix}random" random
    ours_overwrite "${prefix}random_scalar" random scalar
    peer "${prefix}shred1" "$big_bytes" shred -n 1 --exact "$big"
    ours_overwrite "${prefix}zeros_unbuffered" zeros unbuffered
    ours_overwrite "${prefix}dod3" dod3
    peer "${prefix}shred3" $((3 * big_bytes)) shred -n 3 --exact "$big"
    ours_overwrite "${prefix}dod7" dod7
    if [ "$round" -ge 1 ] && [ "$round" -le "$gutmann_reps" ]; then
      ours_overwrite gutmann gutmann
    fi
  done
  rm -f "$big"
fi

peak_growth=
if wants jobs; then
  echo "Whole jobs on a $big_mib MiB file, overwrite plus removal ..." >&2
  for round in $(seq 0 "$reps"); do
    [ "$round" -eq 0 ] && prefix=warm_ || prefix=
    make_big
    out=$(bench job dod3 "$(winpath "$big")")
    record "${prefix}job_dod3" "$(field "$out" seconds)"
    growth=$(awk -v a="$(field "$out" peak_workingset_mib)" \
      -v b="$(field "$out" workingset_before_mib)" 'BEGIN { printf "%.1f", a - b }')
    # The highest of every round.
    peak_growth=$(awk -v a="${peak_growth:-0}" -v b="$growth" 'BEGIN { print (b > a ? b : a) }')
    make_big
    peer_seconds "${prefix}job_shred3" shred -n 3 --exact -u "$big"
    make_big
    peer_seconds "${prefix}job_dd3" dd_then_rm "$big" "$big_mib" 3
    make_big
    out=$(bench job zeros "$(winpath "$big")")
    record "${prefix}job_zeros" "$(field "$out" seconds)"
    make_big
    peer_seconds "${prefix}job_dd" dd_then_rm "$big" "$big_mib"
  done
  rm -f "$big"
fi

# WIPE_IMAGE: an ext4 image of BENCH_WIPE_MIB, loop-mounted and mapped as drive W: (root only).
wipe_mnt="$data/wipe-mnt"
wipe_drive="$WINEPREFIX/dosdevices/w:"
wipe_mount() {
  truncate -s "${wipe_mib}M" "$data/wipe.img"
  # No blocks kept for root or for the file system's own metadata: both sides fill the same space.
  mkfs.ext4 -q -F -m 0 -b 4096 -E lazy_itable_init=0,lazy_journal_init=0 "$data/wipe.img"
  mkdir -p "$wipe_mnt"
  mount -o loop "$data/wipe.img" "$wipe_mnt"
  local loop
  loop=$(findmnt -n -o SOURCE "$wipe_mnt")
  echo 0 >"/sys/fs/ext4/${loop#/dev/}/reserved_clusters"
  sync
  settle_disk
}
wipe_unmount() {
  umount "$wipe_mnt"
  rm -f "$data/wipe.img"
}
dd_fill_then_rm() {
  dd if=/dev/zero of="$wipe_mnt/fill" bs=64M oflag=direct status=none 2>/dev/null || true
  rm -f "$wipe_mnt/fill"
  sync -f "$wipe_mnt"
}
# The same fill through the page cache, as every write under Wine goes, flushed at the end.
dd_cached_fill_then_rm() {
  dd if=/dev/zero of="$wipe_mnt/fill" bs=64M conv=fsync status=none 2>/dev/null || true
  rm -f "$wipe_mnt/fill"
  sync -f "$wipe_mnt"
}
wipe_mib=${BENCH_WIPE_MIB:-1024}
wipe_peak=
if wants wipe; then
  if [ "$(id -u)" -ne 0 ] || [ ! -e /dev/loop-control ]; then
    echo "run.sh: the wipe measure needs root and loop devices; skipped" >&2
  else
    echo "Free-space wipes of a $wipe_mib MiB ext4 image ..." >&2
    ln -sfn "$wipe_mnt" "$wipe_drive"
    for round in $(seq 0 "$reps"); do
      [ "$round" -eq 0 ] && prefix=warm_ || prefix=
      wipe_mount
      out=$(wine "$job_exe" wipe zeros 'W:\' </dev/null | tr -d '\r') ||
        echo "run.sh: the row of the wipe through the window stayed: $out" >&2
      record "${prefix}wipe_window" "$(field "$out" seconds)"
      record "${prefix}wipe_free" "$(field "$out" free_bytes)"
      growth=$(awk -v a="$(field "$out" peak_workingset_mib)" \
        -v b="$(field "$out" workingset_before_mib)" 'BEGIN { printf "%.1f", a - b }')
      wipe_peak=$(awk -v a="${wipe_peak:-0}" -v b="$growth" 'BEGIN { print (b > a ? b : a) }')
      wipe_unmount
      wipe_mount
      out=$(bench wipe zeros 'W:\')
      [ "$(field "$out" result)" = 0 ] || echo "run.sh: the wipe did not end wiped: $out" >&2
      record "${prefix}wipe_zeros" "$(field "$out" seconds)"
      wipe_unmount
      wipe_mount
      peer_seconds "${prefix}wipe_dd" dd_fill_then_rm
      wipe_unmount
      wipe_mount
      peer_seconds "${prefix}wipe_dd_cached" dd_cached_fill_then_rm
      wipe_unmount
    done
    rm -f "$wipe_drive"
  fi
fi

small="$data/small"
leftover=0
declare -A profiles
if wants small; then
  for per in $small_per_folder; do
    echo "Shredding $small_files files of 1 KiB in folders of $per ..." >&2
    for round in $(seq 0 "$small_reps"); do
      prefix=
      files=$small_files
      if [ "$round" -eq 0 ]; then
        prefix=warm_
        files=$((small_files < 500 ? small_files : 500))
      fi
      make_files "$small" "$files" "$per"
      out=$(bench shredfiles zeros "$(winpath "$small")" profile) || true
      line=$(grep '^shredfiles' <<<"$out" || true)
      record "${prefix}small_$per" "$(rate "$(field "$line" files)" "$(field "$line" seconds)")"
      profiles[$per]=$(grep '^profile' <<<"$out" || true)
      leftover=$((leftover + $(find "$small" -type f | wc -l)))
      make_files "$small" "$files" "$per"
      peer "${prefix}shred_small_$per" "$files" \
        sh -c 'find "$1" -type f -print0 | xargs -0 shred -n 1 -u' sh "$small"
    done
  done
  rm -rf "$small"
fi

count_items=
if wants count; then
  echo "Counting $tree_files files in $tree_folders folders ..." >&2
  tree="$data/tree"
  mkdir -p "$tree"
  seq -f "$tree/d%05g" 0 $((tree_folders - 1)) | xargs mkdir -p
  awk -v t="$tree" -v f="$tree_folders" -v n="$tree_files" \
    'BEGIN { for (i = 0; i < n; i++) printf "%s/d%05d/f%07d\n", t, i % f, i }' | xargs touch
  out=$(bench count "$(winpath "$tree")" "$reps")
  count_items=$(field "$out" items)
  record count "$(rate "$count_items" "$(field "$out" seconds)")"
  rm -rf "$tree"
fi

job_left=0
if wants window; then
  echo "Jobs of $job_files files of 1 KiB in folders of $job_per_folder, through the window" \
    "and by the engine alone ..." >&2
  jobtree="$data/jobtree"
  job_one() { # mode
    make_files "$jobtree" "$job_files" "$job_per_folder"
    local out
    out=$(wine "$job_exe" "$1" "$job_method" "$(winpath "$jobtree")" </dev/null | tr -d '\r') || true
    record "${prefix}$1" "$(field "$(grep '^job' <<<"$out")" seconds)"
    [ -d "$jobtree" ] && job_left=$((job_left + 1))
    rm -rf "$jobtree"
  }
  for round in $(seq 0 "$job_reps"); do
    [ "$round" -eq 0 ] && prefix=warm_ || prefix=
    # Which one goes first alternates from round to round.
    if ((round % 2)); then
      job_one engine
      job_one window
    else
      job_one window
      job_one engine
    fi
    # What a user would do without Ferrolet: one random pass over every file, then the folders.
    make_files "$jobtree" "$job_files" "$job_per_folder"
    peer_seconds "${prefix}window_shred" \
      sh -c 'find "$1" -type f -print0 | xargs -0 shred -n 1 -u && rm -r "$1"' sh "$jobtree"
  done
fi

many_left=0
if wants many; then
  echo "Pasting $many_counts files of one folder into the list and removing them ..." >&2
  pastedir="$data/paste"
  paste_one() { # files prefix
    local out
    out=$(wine "$list_exe" "$(winpath "$pastedir")" </dev/null | tr -d '\r') || many_left=$((many_left + 1))
    record "$2identities_$1" "$(field "$(grep '^identities' <<<"$out")" seconds)"
    record "$2paste_$1" "$(field "$(grep '^paste' <<<"$out")" seconds)"
    record "$2take_$1" "$(field "$(grep '^take' <<<"$out")" seconds)"
    record "$2reconcile_$1" "$(field "$(grep '^reconcile' <<<"$out")" seconds)"
    record "$2remove_half_$1" "$(field "$(grep '^remove_half' <<<"$out")" seconds)"
    record "$2remove_all_$1" "$(field "$(grep '^remove_all' <<<"$out")" seconds)"
  }
  first=1
  for n in $many_counts; do
    rm -rf "$pastedir"
    mkdir -p "$pastedir"
    (cd "$pastedir" && seq -f 'f%06g.txt' 1 "$n" | xargs touch)
    if [ "$first" = 1 ]; then
      paste_one "$n" warm_
      first=0
    fi
    for round in $(seq "$many_reps"); do
      paste_one "$n" ""
    done
  done
  rm -rf "$pastedir"
fi
if wants manyjob; then
  echo "Jobs of $many_job_files files of 1 KiB as one row each and as one folder row ..." >&2
  jobtree="$data/jobtree"
  many_job() { # mode
    make_files "$jobtree" "$many_job_files" "$job_per_folder"
    local out
    out=$(wine "$job_exe" "$1" "$job_method" "$(winpath "$jobtree")" </dev/null | tr -d '\r') ||
      many_left=$((many_left + 1))
    record "${prefix}many_$1" "$(field "$(grep '^job' <<<"$out")" seconds)"
    rm -rf "$jobtree"
  }
  for round in $(seq 0 "$many_job_reps"); do
    [ "$round" -eq 0 ] && prefix=warm_ || prefix=
    if ((round % 2)); then
      many_job rows
      many_job listed
    else
      many_job listed
      many_job rows
    fi
  done
fi

# The table.
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
mem=$(free -g | awk '/^Mem:/ { print $2 " GiB" }')
disk=$(df -PhT "$data" | awk 'NR == 2 { print $1 " (" $2 ", " $3 ")" }')
echo
echo "Taken $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) CPUs, $cpu, $mem RAM, disk $disk," \
  "$(wine --version)."
echo "Load average (1, 5, 15 min): $load_at_start at the start," \
  "$(cut -d' ' -f1-3 /proc/loadavg) at the end."
echo "Medians after one warm-up round: $reps repeats (fill, overwrite, jobs, count)," \
  "$small_reps for small files, $job_reps for the window, $gutmann_reps for Gutmann;" \
  "big file $big_mib MiB."
echo
gb() { awk -v v="$1" 'BEGIN { printf "%.2f GB/s", v / 1e9 }'; }
num() { awk -v v="$1" -v u="$2" 'BEGIN { printf "%.0f %s", v, u }'; }
sec() { awk -v v="$1" 'BEGIN { printf "%.2f s", v }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2fx", (b > 0 ? a / b : 0) }'; }
# at least: value / reference >= target; at most: value / reference <= target.
at_least() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { print (b > 0 && a / b >= t ? "met" : "MISSED") }'; }
at_most() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { print (b > 0 && a / b <= t ? "met" : "MISSED") }'; }
row() { printf '| %s | %s | %s | %s | %s |\n' "$@"; }
row "Measure" "Ferrolet" "Peer" "Ratio" "Target"
row "---" "---" "---" "---" "---"
if have fill_scalar; then
  fill_scalar=$(result fill_scalar)
  fill_fast=$(result fill_fast)
  gbs() { awk -v v="$1" 'BEGIN { printf "%.2f GB/s", v }'; }
  row "Random fill, $fill_mib MiB, path $fast_path" "$(gbs "$fill_fast")" \
    "scalar reference $(gbs "$fill_scalar")" "$(ratio "$fill_fast" "$fill_scalar")" \
    ">= 8x: $(at_least "$fill_fast" "$fill_scalar" 8)"
  for path in sse2 avx2 avx512; do
    have "fill_$path" || continue
    row "  fill path $path" "$(gbs "$(result "fill_$path")")" "" \
      "$(ratio "$(result "fill_$path")" "$fill_scalar")" ""
  done
fi
if have zeros; then
  row "OverwriteZeros in place" "$(gb "$(result zeros)")" \
    "dd oflag=direct bs=64M $(gb "$(result dd)")" "$(ratio "$(result zeros)" "$(result dd)")" \
    ">= 0.8x: $(at_least "$(result zeros)" "$(result dd)" 0.8)"
  row "  unbuffered, write-through" "$(gb "$(result zeros_unbuffered)")" "" \
    "$(ratio "$(result zeros_unbuffered)" "$(result dd)")" "(experiment)"
  row "OverwriteRandom in place" "$(gb "$(result random)")" \
    "shred -n 1 --exact $(gb "$(result shred1)")" \
    "$(ratio "$(result random)" "$(result shred1)")" ""
  row "  with the scalar fill" "$(gb "$(result random_scalar)")" "" \
    "$(ratio "$(result random_scalar)" "$(result shred1)")" ""
  row "OverwriteDod3 in place" "$(gb "$(result dod3)")" \
    "shred -n 3 --exact $(gb "$(result shred3)")" "$(ratio "$(result dod3)" "$(result shred3)")" \
    ">= 1.5x: $(at_least "$(result dod3)" "$(result shred3)" 1.5)"
  row "OverwriteDod7 in place" "$(gb "$(result dod7)")" "shred -n 3 --exact" \
    "$(ratio "$(result dod7)" "$(result shred3)")" ""
  if have gutmann; then
    row "OverwriteGutmann in place" "$(gb "$(result gutmann)")" "shred -n 3 --exact" \
      "$(ratio "$(result gutmann)" "$(result shred3)")" ""
  fi
fi
if have job_dod3; then
  # Speed ratios of whole jobs: the peer's time over Ferrolet's.
  row "Job, DOD 3, $big_mib MiB file" "$(sec "$(result job_dod3)")" \
    "three dd oflag=direct passes, then rm $(sec "$(result job_dd3)")" \
    "$(ratio "$(result job_dod3)" "$(result job_dd3)") the time" \
    "<= 1.15x the time: $(at_most "$(result job_dod3)" "$(result job_dd3)" 1.15)"
  row "  against shred" "" "shred -n 3 --exact -u $(sec "$(result job_shred3)")" \
    "$(ratio "$(result job_shred3)" "$(result job_dod3)")" ""
  row "Job, All 0's, $big_mib MiB file" "$(sec "$(result job_zeros)")" \
    "dd oflag=direct, then rm $(sec "$(result job_dd)")" \
    "$(ratio "$(result job_dd)" "$(result job_zeros)")" \
    ">= 1.0x: $(at_least "$(result job_dd)" "$(result job_zeros)" 1.0)"
  row "Peak memory of the DOD 3 job" "+$peak_growth MiB" "one chunk: 64 MiB" \
    "$(ratio "$peak_growth" 64)" \
    "<= 64 MiB + a few: $(awk -v g="$peak_growth" 'BEGIN { print (g <= 72 ? "met" : "MISSED") }')"
fi
if have wipe_window; then
  row "Free-space wipe through the main window, All 0's, $wipe_mib MiB ext4 image ($(awk -v b="$(result wipe_free)" 'BEGIN { printf "%.0f", b / 1048576 }') MiB free)" \
    "$(sec "$(result wipe_window)")" "dd oflag=direct until full, then rm $(sec "$(result wipe_dd)")" \
    "$(ratio "$(result wipe_dd)" "$(result wipe_window)")" \
    ">= 0.8x: $(at_least "$(result wipe_dd)" "$(result wipe_window)" 0.8)"
  row "  against a fill through the page cache" "" \
    "dd bs=64M conv=fsync until full, then rm $(sec "$(result wipe_dd_cached)")" \
    "$(ratio "$(result wipe_dd_cached)" "$(result wipe_window)")" ""
  row "  the engine alone (WipeFreeSpace)" "$(sec "$(result wipe_zeros)")" \
    "dd oflag=direct until full, then rm $(sec "$(result wipe_dd)")" \
    "$(ratio "$(result wipe_dd)" "$(result wipe_zeros)")" ""
  row "Peak memory of the wipe through the window" "+$wipe_peak MiB" "one chunk: 64 MiB" "" \
    "<= 64 MiB + a few: $(awk -v g="$wipe_peak" 'BEGIN { print (g <= 72 ? "met" : "MISSED") }')"
fi
for per in $small_per_folder; do
  have "small_$per" || continue
  row "ShredFile, $small_files x 1 KiB, folders of $per" "$(num "$(result "small_$per")" files/s)" \
    "shred -n 1 -u $(num "$(result "shred_small_$per")" files/s)" \
    "$(ratio "$(result "small_$per")" "$(result "shred_small_$per")")" \
    ">= 1x: $(at_least "$(result "small_$per")" "$(result "shred_small_$per")" 1)"
done
if have count; then
  row "CountShredItems, $count_items items" "$(num "$(result count)" entries/s)" "" "" ""
fi
if have window; then
  row "Job through the window, $job_files x 1 KiB, folders of $job_per_folder, $job_method" \
    "$(sec "$(result window)")" "engine alone $(sec "$(result engine)")" \
    "$(ratio "$(result window)" "$(result engine)")" \
    "<= 1.05x: $(at_most "$(result window)" "$(result engine)" 1.05)"
  row "  against shred" "" "shred -n 1 -u of every file, then rm -r $(sec "$(result window_shred)")" \
    "$(ratio "$(result window_shred)" "$(result window)") the speed" \
    ">= 0.8x: $(at_least "$(result window_shred)" "$(result window)" 0.8)"
fi
first_count=
for n in $many_counts; do
  have "paste_$n" || continue
  pasted=$(result "paste_$n")
  per_item=$(awk -v s="$pasted" -v n="$n" 'BEGIN { printf "%.9f", s / n }')
  if [ -z "$first_count" ]; then
    first_count=$n
    first_per_item=$per_item
  fi
  target=""
  if [ "$n" = 10000 ]; then
    target="<= 3 s: $(awk -v s="$pasted" 'BEGIN { print (s <= 3 ? "met" : "MISSED") }')"
  elif [ "$n" != "$first_count" ]; then
    target="<= 1.5x the time per item at $first_count: $(at_most "$per_item" "$first_per_item" 1.5)"
  fi
  row "Paste of $n files through the window, listed and painted" \
    "$(num "$(rate "$n" "$pasted")" rows/s), $(sec "$pasted")" \
    "identity reads alone $(sec "$(result "identities_$n")")" \
    "$(ratio "$per_item" "$first_per_item") the time per item at $first_count" "$target"
  if have "take_$n"; then
    row "  Rows taken for a job" "$(num "$(rate "$n" "$(result "take_$n")")" rows/s)" "" "" ""
    row "  Rows brought up to date after it: half deleted, half renamed" \
      "$(num "$(rate "$n" "$(result "reconcile_$n")")" rows/s)" "" "" ""
  fi
  row "  Remove Item, every second row of the $((n / 2)) left" \
    "$(num "$(rate $((n / 4)) "$(result "remove_half_$n")")" rows/s)" "" "" ""
  row "  Remove Item, all $((n / 2 - n / 4)) rows left" \
    "$(num "$(rate $((n / 2 - n / 4)) "$(result "remove_all_$n")")" rows/s)" "" "" ""
done
if have many_rows; then
  row "Job, $many_job_files x 1 KiB listed as $many_job_files rows, $job_method" \
    "$(sec "$(result many_rows)")" "the same files as one folder row $(sec "$(result many_listed)")" \
    "$(ratio "$(result many_rows)" "$(result many_listed)")" \
    "<= 1.1x: $(at_most "$(result many_rows)" "$(result many_listed)" 1.1)"
fi
echo
if wants small; then
  echo "Files left behind by ShredFile: $leftover"
fi
if wants many || wants manyjob; then
  echo "Paste and job runs that left files or rows behind: $many_left"
  echo "Row job times:        ${samples[many_rows]:-}"
  echo "Folder row job times: ${samples[many_listed]:-}"
fi
if wants window; then
  echo "Window and engine runs that left their folder behind: $job_left"
  echo "Window job times: ${samples[window]:-}"
  echo "Engine times:     ${samples[engine]:-}"
fi
for per in $small_per_folder; do
  [ -n "${profiles[$per]:-}" ] || continue
  echo
  echo "Where ShredFile's time goes, $small_files files in folders of $per, last round:"
  while read -r line; do
    [ -n "$line" ] || continue
    printf '  %-28s %6s calls/file %9s ms/file\n' "$(field "$line" operation)" \
      "$(field "$line" calls_per_item)" "$(field "$line" ms_per_item)"
  done <<<"${profiles[$per]}"
done
