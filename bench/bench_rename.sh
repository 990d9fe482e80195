#!/usr/bin/env bash
# A whole command-line Replace run of the renamer against a plain C program
# that does the same renames and log lines; prints both times and the ratio.
# The instant preview is on, as users have it. Target: at most 2.5x the C
# program at 32,767 files. With strace present, one more run of the largest
# count prints the system calls per renamed file (target: at most 3 statx,
# 3 getxattr and 1 renameat2 besides the log's open, write and close).
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
# Stored Replace options: "file" becomes "item"; the instant preview is on.
cat >"$XDG_CONFIG_HOME/Taborin/Taborin.ini" <<'INI'
[Vexor%20Renamer]
txtFind=file
txtReplace=item
chkRealtimePreview=1
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

printf '%8s %12s %12s %8s\n' files plain_c_s renamer_s ratio
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
    'BEGIN { printf "%8d %12.3f %12.3f %8.2f\n", n, p, r, (p > 0 ? r / p : 0) }'
done

# System calls per renamed file, from one traced run of the largest count.
if command -v strace >/dev/null 2>&1; then
  n="${counts[${#counts[@]}-1]}"
  dir="$scratch/files_$n"
  make_files "$dir" "$n"
  # A full trace rather than strace -c: the summary of strace 6.1 leaves out
  # the calls it does not know by name, such as getxattrat (464).
  timeout "${VX_BENCH_TIMEOUT:-300}" strace -f -qq -o "$scratch/strace.txt" \
    "$root/build/default/bin/vexorren" /p "$dir" /e modereplace /x >/dev/null 2>&1 || true
  got=$(count_renamed "$dir")
  echo "system calls per renamed file ($got renamed):"
  awk -v n="$got" '
    $2 ~ /^<\.\.\./ { next }
    { name = $2; sub(/\(.*/, "", name); if (name == "syscall_0x1d0") name = "getxattrat"; count[name]++ }
    END {
      split("statx newfstatat lstat stat fstat getxattr lgetxattr fgetxattr getxattrat renameat2 renameat rename openat write close lseek", names, " ")
      for (i = 1; i in names; ++i)
        if (count[names[i]] > 0 && n > 0) printf "  %-12s %6.2f\n", names[i], count[names[i]] / n
    }' "$scratch/strace.txt"
else
  echo "strace is not installed: no system-call count"
fi
