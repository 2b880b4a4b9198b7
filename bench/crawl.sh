#!/usr/bin/env bash
# Crawl benchmark: LinkTrawl's crawler against wget on the same generated site.
#
#   bench/crawl.sh [BUILD_DIR] [LEVELS]      (defaults: build, 3 = 8421 pages)
#
# Needs nginx-light (or nginx), wget and /usr/bin/time. One nginx on 127.0.0.1 serves the site
# of bench/make_site.py with keep-alive, pinned to CPU 0; the clients run on CPU 1, one at a
# time, after a warm-up run. Four runs, each repeated RUNS times (default 3), median reported:
#   1. with saving:    wget -r -l N -e robots=off --reject=<the default must-not list>
#                      linktrawl --crawl URL --level N --save-dir DIR -save2 hits.txt
#   2. without saving: wget --spider -r -l N ... against linktrawl --crawl without --save-dir
# Afterwards the sets of fetched pages are compared (wget's -nv log against the
# "Saved by LinkTrawl from:" lines of the saved pages) and the differences printed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
levels=${2:-3}
runs=${RUNS:-3}
lt=$(readlink -f "$build/linktrawl")
for tool in wget nginx /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "crawl.sh: $tool is missing (apt-get install nginx-light wget time)" >&2; exit 2; }
done

work=$(mktemp -d /tmp/lt-crawl-bench.XXXXXX)
trap 'kill "$(cat "$work/nginx.pid" 2>/dev/null)" 2>/dev/null || true; rm -rf "$work"' EXIT
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
pages=$(/usr/bin/python3 bench/make_site.py "$work/site" "$port" --levels "$levels")
mkdir -p "$work/tmp"
cat >"$work/nginx.conf" <<EOF
worker_processes 1;
daemon on;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 256; }
http {
    access_log off;
    keepalive_requests 100000;
    client_body_temp_path $work/tmp; proxy_temp_path $work/tmp; fastcgi_temp_path $work/tmp;
    uwsgi_temp_path $work/tmp; scgi_temp_path $work/tmp;
    types { text/html html htm; }
    server { listen 127.0.0.1:$port; root $work/site; }
}
EOF
taskset -c 0 nginx -p "$work" -c "$work/nginx.conf" -g "user $(id -un);" 2>/dev/null \
    || taskset -c 0 nginx -p "$work" -c "$work/nginx.conf"
sleep 0.3
start="http://127.0.0.1:$port/index.html"
reject=gif,jpg,exe,zip,rar,ace,mp3,mpg,mpeg,avi,wmv,pdf,ps
export LINKTRAWL_INI=$work/linktrawl.ini   # not present: every setting at its default
unset http_proxy https_proxy ftp_proxy all_proxy HTTP_PROXY HTTPS_PROXY ALL_PROXY

# Runs one client RUNS times; prints the median line "wall user sys maxrss".
measure() {
    local name=$1; shift
    local i
    for ((i = 0; i < runs; ++i)); do
        rm -rf "$work/out"; mkdir -p "$work/out"
        ( cd "$work/out" && /usr/bin/time -f "%e %U %S %M" -o "$work/time.$i" taskset -c 1 "$@" >"$work/$name.log" 2>&1 ) || true
    done
    local line
    line=$(for f in "$work"/time.*; do tail -n 1 "$f"; done | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
    rm -f "$work"/time.*
    read -r wall user sys rss <<<"$line"
    printf '%-28s %7.2f s wall %7.2f s cpu %8d KB peak  %7.0f pages/s\n' "$name" "$wall" \
        "$(echo "$user + $sys" | bc)" "$rss" "$(echo "$pages / $wall" | bc -l)"
}

echo "site: $pages pages, levels 0..$levels, $(du -sh "$work/site" | cut -f1); wget $(wget --version | head -1 | cut -d' ' -f3)"
# Warm-up: page cache and nginx.
wget -q -r -l "$levels" -e robots=off --reject="$reject" -P "$work/warm" "$start" || true
rm -rf "$work/warm"

measure "wget -r (saving)" wget -r -l "$levels" -nv -e robots=off --reject="$reject" -P "$work/out/wget" "$start"
grep -o 'URL:[^ ]*' "$work/wget -r (saving).log" | sed 's/^URL://' | sort -u >"$work/wget.urls"
measure "linktrawl --crawl (saving)" "$lt" --crawl "$start" --level "$levels" --save-dir "$work/out/lt" -save2 "$work/out/hits.txt"
grep -rhao 'Saved by LinkTrawl from: [^ ]*' "$work/out/lt" | sed 's/^Saved by LinkTrawl from: //' | sort -u >"$work/lt.urls"
measure "wget --spider -r" wget --spider -r -l "$levels" -nv -e robots=off --reject="$reject" "$start"
measure "linktrawl --crawl (no save)" "$lt" --crawl "$start" --level "$levels" -save2 "$work/out/hits.txt"

echo "pages fetched and saved: wget $(wc -l <"$work/wget.urls"), linktrawl $(wc -l <"$work/lt.urls")"
echo "only wget:      $(comm -23 "$work/wget.urls" "$work/lt.urls" | wc -l)  (first: $(comm -23 "$work/wget.urls" "$work/lt.urls" | head -3 | tr '\n' ' '))"
echo "only linktrawl: $(comm -13 "$work/wget.urls" "$work/lt.urls" | wc -l)  (first: $(comm -13 "$work/wget.urls" "$work/lt.urls" | head -3 | tr '\n' ' '))"
