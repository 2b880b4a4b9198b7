#!/usr/bin/env bash
# The whole unattended folder search (subfolders included) over a corpus folder with one and two
# scan workers, timed against ripgrep looking for the same items in the same folder on one and two
# threads, for the URL, e-mail and IP kinds. Every command runs warm: one untimed run first, then
# the median of RUNS timed runs, all in the same sitting. The lists of the one- and two-worker
# runs must be identical byte for byte.
#
#   bench/folder_search.sh [CORPUS] [RUNS] [KINDS]
#
# KINDS is a list of url, email and ip (default all three). LINKTRAWL_BIN names the program
# (default build/linktrawl).
set -euo pipefail
cd "$(dirname "$0")/.."
corpus=${1:-/tmp/linktrawl-corpus}
runs=${2:-5}
kinds=${3:-url email ip}
bin=${LINKTRAWL_BIN:-build/linktrawl}
[ -d "$corpus" ] || { echo "no corpus folder $corpus" >&2; exit 1; }
[ -x "$bin" ] || { echo "no program $bin (build it first)" >&2; exit 1; }
command -v rg >/dev/null || { echo "ripgrep (rg) is needed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints "elapsed_seconds cpu_seconds maxrss_kib" of one run of the command. The CPU time (user
# plus system) is the steadier figure on a busy machine.
measure() {
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || {
        # rg exits 1 when nothing matched; anything else is a failure
        [ "$?" = 1 ] && [ "$1" = rg ] || { cat "$work/stderr" >&2; return 1; }
    }
    awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time"
}

median() { sort -g | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

# Median elapsed and CPU times and the largest RSS over $runs runs, after one untimed run.
timed() {
    local t c m bm=0
    "$@" >/dev/null 2>&1 || true
    : >"$work/t"
    : >"$work/c"
    for _ in $(seq "$runs"); do
        read -r t c m < <(measure "$@")
        echo "$t" >>"$work/t"
        echo "$c" >>"$work/c"
        ((m > bm)) && bm=$m
    done
    echo "$(median <"$work/t") $(median <"$work/c") $bm"
}

lt() { # kind threads output: the command line of one run
    echo env -u DISPLAY LINKTRAWL_INI="$work/$1.ini" "$bin" "$corpus" --threads "$2" -save2 "$3"
}

files=$(find "$corpus" -type f | wc -l)
bytes=$(du -sb "$corpus" | cut -f1)
echo "corpus: $corpus ($files files, $bytes bytes); medians of $runs runs"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-6s %-16s %9s %9s %10s %9s\n' kind run elapsed cpu maxrss_kib found

for kind in $kinds; do
    case $kind in
    url) r6=0 pattern='([Hh][Tt][Tt][Pp]|[Ff][Tt][Pp])://[^"<>() \t]+' ;;
    email) r6=6 pattern='[A-Za-z0-9._%+-]+@[A-Za-z0-9.-]+\.[A-Za-z]{2,}' ;;
    ip) r6=7 pattern='\b[0-9]{1,3}\.[0-9]{1,3}\.[0-9]{1,3}\.[0-9]{1,3}\b' ;;
    *) echo "unknown kind $kind" >&2; exit 1 ;;
    esac
    printf '[SEARCH]\r\nSUB=1\r\n[OPTIONS]\r\nR6=%s\r\n' "$r6" >"$work/$kind.ini"
    declare -A elapsed=()
    for threads in 1 2; do
        out="$work/$kind-$threads.txt"
        read -r t c m < <(timed $(lt "$kind" "$threads" "$out"))
        elapsed[lt$threads]=$t
        rows=$($(lt "$kind" "$threads" "$out") | sed -n 's/.*(\([0-9]*\) rows\{0,1\}).*/\1/p')
        printf '%-6s %-16s %8ss %8ss %10s %9s\n' "$kind" "linktrawl -$threads" "$t" "$c" "$m" "${rows:-?}"
    done
    if cmp -s "$work/$kind-1.txt" "$work/$kind-2.txt"; then same=identical; else same=DIFFERENT; fi
    for j in 1 2; do
        read -r t c m < <(timed rg -j"$j" -o -a "$pattern" "$corpus")
        elapsed[rg$j]=$t
        matches=$(rg -j"$j" -o -a "$pattern" "$corpus" | wc -l || true)
        printf '%-6s %-16s %8ss %8ss %10s %9s\n' "$kind" "rg -j$j" "$t" "$c" "$m" "$matches"
    done
    awk -v a="${elapsed[lt1]}" -v b="${elapsed[rg1]}" -v c="${elapsed[lt2]}" -v d="${elapsed[rg2]}" -v s="$same" \
        -v k="$kind" 'BEGIN {
        printf "%-6s elapsed ratios: linktrawl-1/rg-j1 %.2f, linktrawl-2/rg-j2 %.2f; lists of 1 and 2 workers %s\n",
            k, (b > 0 ? a / b : 0), (d > 0 ? c / d : 0), s
    }'
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
