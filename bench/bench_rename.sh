#!/usr/bin/env bash
# A whole command-line Replace run of the renamer against a plain C program
# that does the same renames and log lines; prints both times and the ratio.
# Target: at most 3x the C program at 32,767 files.
# Usage: bench/bench_rename.sh [counts...]   (default 1000 10000 32767)
# VX_BENCH_ROUNDS (default 3): rounds per count, the fastest is shown.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
source scripts/common.sh
vx_ensure_packages
vx_build
counts=("$@")
[ ${#counts[@]} -eq 0 ] && counts=(1000 10000 32767)

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cc -O2 -Wall -Wextra -o "$scratch/plain_rename" bench/plain_rename.c

export QT_QPA_PLATFORM=offscreen
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" VEXORREN_HOME="$scratch/program"
mkdir -p "$XDG_CONFIG_HOME/Taborin" "$XDG_DATA_HOME" "$VEXORREN_HOME"
# Stored Replace options: "file" becomes "item"; the preview stays off.
cat >"$XDG_CONFIG_HOME/Taborin/Taborin.ini" <<'INI'
[Vexor%20Renamer]
txtFind=file
txtReplace=item
chkRealtimePreview=0
INI

make_files() { # dir count
  rm -rf "$1"
  mkdir -p "$1"
  (cd "$1" && seq -f "file_%05g.txt" 1 "$2" | xargs touch)
}
count_renamed() { find "$1" -maxdepth 1 -name 'item_*' | wc -l; }
now() { date +%s.%N; }

# The fastest of several rounds, so that other load on the machine weighs less.
rounds="${VX_BENCH_ROUNDS:-3}"
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }

printf '%8s %12s %12s %8s\n' files renamer_s plain_c_s ratio
for n in "${counts[@]}"; do
  dir="$scratch/files_$n"
  best_r="" best_p=""
  for _ in $(seq "$rounds"); do
    make_files "$dir" "$n"
    sync
    t0=$(now)
    timeout "${VX_BENCH_TIMEOUT:-300}" "$root/build/default/bin/vexorren" /p "$dir" /e modereplace /x \
      >/dev/null 2>&1 || echo "renamer did not exit by itself (status $?)" >&2
    t1=$(now)
    got=$(count_renamed "$dir")
    if [ "$got" -ne "$n" ]; then
      echo "renamer renamed $got of $n files (is the command-line run wired and did it exit by itself?)" >&2
    fi
    best_r=$(min "$best_r" "$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')")
    make_files "$dir" "$n"
    sync
    t2=$(now)
    "$scratch/plain_rename" "$dir" file item "$scratch/plain_log.txt" >/dev/null
    t3=$(now)
    best_p=$(min "$best_p" "$(awk -v a="$t2" -v b="$t3" 'BEGIN { print b - a }')")
  done
  awk -v n="$n" -v r="$best_r" -v p="$best_p" \
    'BEGIN { printf "%8d %12.3f %12.3f %8.2f\n", n, r, p, (p > 0 ? r / p : 0) }'
done
