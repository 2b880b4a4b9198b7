#!/usr/bin/env bash
# The whole unattended folder search (URL kind, subfolders included) over a corpus folder,
# timed against ripgrep looking for the same URLs in the same folder on one thread. Both run
# warm: one untimed run each first, then the best of a few timed runs.
#
#   bench/folder_search.sh [CORPUS] [RUNS]
#
# LINKTRAWL_BIN names the program (default build/linktrawl).
set -euo pipefail
cd "$(dirname "$0")/.."
corpus=${1:-/tmp/linktrawl-corpus}
runs=${2:-3}
bin=${LINKTRAWL_BIN:-build/linktrawl}
[ -d "$corpus" ] || { echo "no corpus folder $corpus" >&2; exit 1; }
[ -x "$bin" ] || { echo "no program $bin (build it first)" >&2; exit 1; }
command -v rg >/dev/null || { echo "ripgrep (rg) is needed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ini=$work/bench.ini
printf '[SEARCH]\r\nSUB=1\r\n[OPTIONS]\r\nR6=0\r\n' >"$ini"
pattern='([Hh][Tt][Tt][Pp]|[Ff][Tt][Pp])://[^"<>() \t]+'

# Prints "elapsed_seconds cpu_seconds maxrss_kib" of one run of the command. The CPU time (user
# plus system) is the steadier figure on a busy machine.
measure() {
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || {
        cat "$work/stderr" >&2
        return 1
    }
    awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time"
}

best() { # best elapsed and CPU times and the largest RSS over $runs runs
    local t c m bt=999999 bc=999999 bm=0
    for _ in $(seq "$runs"); do
        read -r t c m < <(measure "$@")
        bt=$(awk -v a="$t" -v b="$bt" 'BEGIN { print (a < b) ? a : b }')
        bc=$(awk -v a="$c" -v b="$bc" 'BEGIN { print (a < b) ? a : b }')
        ((m > bm)) && bm=$m
    done
    echo "$bt $bc $bm"
}

lt_run() { env -u DISPLAY LINKTRAWL_INI="$ini" "$bin" "$corpus" -save2 "$work/out.txt"; }
rg_run() { rg -j1 -o -a "$pattern" "$corpus"; }

lt_run >/dev/null
rg_run >/dev/null || true
read -r lt_time lt_cpu lt_rss < <(best env -u DISPLAY LINKTRAWL_INI="$ini" "$bin" "$corpus" -save2 "$work/out.txt")
read -r rg_time rg_cpu rg_rss < <(best rg -j1 -o -a "$pattern" "$corpus")
rows=$(lt_run | sed -n 's/.*(\([0-9]*\) rows\{0,1\}).*/\1/p')
matches=$(rg_run | wc -l)

files=$(find "$corpus" -type f | wc -l)
bytes=$(du -sb "$corpus" | cut -f1)
echo "corpus: $corpus ($files files, $bytes bytes)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "linktrawl: ${lt_time}s elapsed, ${lt_cpu}s CPU, max RSS ${lt_rss} KiB, $rows rows"
echo "rg -j1:    ${rg_time}s elapsed, ${rg_cpu}s CPU, max RSS ${rg_rss} KiB, $matches matches"
awk -v a="$lt_time" -v b="$rg_time" -v c="$lt_cpu" -v d="$rg_cpu" 'BEGIN {
    if (b > 0) printf "ratio linktrawl/rg: %.2f elapsed", a / b
    if (d > 0) printf ", %.2f CPU", c / d
    print ""
}'
