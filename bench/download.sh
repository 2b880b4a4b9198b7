#!/usr/bin/env bash
# The unattended batch download (linktrawl --download) against wget -i (and aria2c -j 8 when it
# is installed) on one local nginx: 200 files of 1 MB and 5 of 100 MB (sparse files in a temporary
# folder), ours one file at a time (RI21=1) and with the default parallel requests. Each tool downloads the whole set RUNS times after one untimed run; the script prints
# the median wall time and the largest resident memory of each, and checks that every tool got
# every byte.
#
#   bench/download.sh [RUNS] [SMALL_COUNT] [BIG_COUNT]
#
# LINKTRAWL_BIN names the program (default build/linktrawl). nginx comes from Debian
# (apt-get install -y nginx-light); the server is pinned to CPU 0 and the clients to CPU 1 when
# the machine has two.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
small=${2:-200}
big=${3:-5}
bin=$(realpath "${LINKTRAWL_BIN:-build/linktrawl}")
[ -x "$bin" ] || { echo "no program $bin (build it first)" >&2; exit 1; }
command -v nginx >/dev/null || [ -x /usr/sbin/nginx ] || { echo "nginx is needed (apt-get install -y nginx-light)" >&2; exit 1; }
nginx=$(command -v nginx || echo /usr/sbin/nginx)

work=$(mktemp -d)
chmod 755 "$work"
server_pid=
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

server_cpu=() client_cpu=()
if [ "$(nproc)" -ge 2 ] && command -v taskset >/dev/null; then
    server_cpu=(taskset -c 0) client_cpu=(taskset -c 1)
fi

mkdir -p "$work/site" "$work/logs"
for i in $(seq 1 "$small"); do truncate -s 1000000 "$work/site/small$i.bin"; done
for i in $(seq 1 "$big"); do truncate -s 100000000 "$work/site/large$i.bin"; done
chmod -R a+rX "$work/site"
expected=$((small * 1000000 + big * 100000000))

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
# With the echo module (libnginx-mod-http-echo) a second server adds 20 ms before every answer,
# as a distant server would: the small files are downloaded from it too.
echo_module=$(ls /usr/lib/nginx/modules/ngx_http_echo_module.so 2>/dev/null || true)
slow_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
slow_server=
if [ -n "$echo_module" ]; then
    slow_server="server { listen 127.0.0.1:$slow_port; root $work/site;
        location ~ ^/late/(.*)\$ { echo_sleep 0.02; echo_location /\$1; } }"
fi
cat >"$work/nginx.conf" <<EOF
${echo_module:+load_module $echo_module;}
daemon off;
worker_processes 1;
pid $work/nginx.pid;
error_log $work/logs/error.log;
events { worker_connections 256; }
http {
    access_log off;
    sendfile on;
    keepalive_requests 100000;
    server {
        listen 127.0.0.1:$port;
        root $work/site;
    }
    $slow_server
}
EOF
"${server_cpu[@]}" "$nginx" -p "$work" -c "$work/nginx.conf" &
server_pid=$!
for _ in $(seq 50); do
    curl -s -o /dev/null "http://127.0.0.1:$port/small1.bin" 2>/dev/null && break
    sleep 0.1
done

urls="$work/urls.txt"
: >"$urls"
for i in $(seq 1 "$small"); do echo "http://127.0.0.1:$port/small$i.bin" >>"$urls"; done
for i in $(seq 1 "$big"); do echo "http://127.0.0.1:$port/large$i.bin" >>"$urls"; done
printf '[INET]\r\nRI12=30\r\nRI21=1\r\n' >"$work/one.ini"
printf '[INET]\r\nRI12=30\r\n' >"$work/default.ini"

# One run into a fresh folder: prints "seconds max_rss_kib" and checks the bytes that arrived.
run_once() {
    local out="$work/out"
    rm -rf "$out"
    mkdir -p "$out"
    (cd "$out" && /usr/bin/time -f '%e %M' -o "$work/time" "${client_cpu[@]}" "$@" >"$work/stdout" 2>"$work/stderr") || {
        echo "failed: $*" >&2
        tail -3 "$work/stderr" >&2
        return 1
    }
    local got
    got=$(find "$out" -name '*.bin' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
    [ "$got" = "$expected" ] || { echo "only $got of $expected bytes arrived: $*" >&2; return 1; }
    cat "$work/time"
}

median() { sort -g | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

bench() {
    local name=$1
    shift
    run_once "$@" >/dev/null
    local times=() rss=0 line
    for _ in $(seq 1 "$runs"); do
        line=$(run_once "$@")
        times+=("${line% *}")
        [ "${line#* }" -gt "$rss" ] && rss=${line#* }
    done
    printf '%-24s %8s s %8s KB\n' "$name" "$(printf '%s\n' "${times[@]}" | median)" "$rss"
}

echo "$small files of 1 MB and $big of 100 MB, median of $runs runs (wall time, peak RSS)"
bench "linktrawl --download RI21=1" env LINKTRAWL_INI="$work/one.ini" "$bin" --download "$urls" --save-dir .
bench "linktrawl --download" env LINKTRAWL_INI="$work/default.ini" "$bin" --download "$urls" --save-dir .
bench "wget -i" wget -q -i "$urls"
if command -v aria2c >/dev/null; then
    bench "aria2c -j 8" aria2c -q -j 8 --file-allocation=none --allow-overwrite=true -i "$urls"
fi
if [ -n "$echo_module" ]; then
    sed -e "s|http://127.0.0.1:$port/\(small[0-9]*\.bin\)|http://127.0.0.1:$slow_port/late/\1|" -e '/large/d' "$urls" >"$work/late.txt"
    urls="$work/late.txt"
    expected=$((small * 1000000))
    echo "the $small files of 1 MB with 20 ms before each answer"
    bench "linktrawl --download RI21=1" env LINKTRAWL_INI="$work/one.ini" "$bin" --download "$urls" --save-dir .
    bench "linktrawl --download" env LINKTRAWL_INI="$work/default.ini" "$bin" --download "$urls" --save-dir .
    bench "wget -i" wget -q -i "$urls"
    command -v aria2c >/dev/null && bench "aria2c -j 8" aria2c -q -j 8 --file-allocation=none --allow-overwrite=true -i "$urls"
fi
echo "versions: $("$nginx" -v 2>&1); $(wget --version | head -1)"
command -v aria2c >/dev/null && aria2c --version | head -1 || true
