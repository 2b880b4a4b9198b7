#!/usr/bin/env bash
# URL status test speed: 10,000 URLs (70% answer 200, 20% 404, 10% a 301 to a page that answers
# 200) on one local nginx, first plain, then with 20 ms added to every answer (nginx's echo
# module sleeps before it answers), then that slow list spread over four ports (hosts). Timed:
# ours (`linktrawl --check-urls`) with "Parallel requests" 1 and the default 8 (INET RI21),
# linkchecker with 1 and its default 10 threads, and `wget --spider -i`. Every tool gets the same
# list and the same server; the server sends the "LinkChecker" header so that linkchecker may ask
# more than 10 a second. Each command runs once
# untimed, then RUNS times; the median wall time is printed with the counts of ok (200 at the end,
# a followed redirect included) and 404 answers each tool reported, which must be 8000 and 2000.
#
#   bench/status.sh [COUNT] [RUNS]        (defaults 10000 and 3; LINKTRAWL_BIN, default build/linktrawl;
#                                         SETTINGS="plain slow" the one-host settings to run)
#
# Needs nginx with libnginx-mod-http-echo (Debian's nginx package has it), and optionally
# linkchecker; a missing tool is skipped. The server runs on CPU 0 and the clients on CPU 1 when
# taskset and two CPUs are there.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-10000}
runs=${2:-3}
bin=$(realpath "${LINKTRAWL_BIN:-build/linktrawl}")
[ -x "$bin" ] || { echo "no program $bin (build it first)" >&2; exit 1; }
command -v nginx >/dev/null || { echo "nginx is needed (apt-get install nginx)" >&2; exit 1; }
echo_module=$(ls /usr/lib/nginx/modules/ngx_http_echo_module.so 2>/dev/null || true)
[ -n "$echo_module" ] || { echo "the nginx echo module is needed (libnginx-mod-http-echo)" >&2; exit 1; }

work=$(mktemp -d)
# linkchecker run by root drops to "nobody": its config and report live where that user may go.
chmod 755 "$work"
mkdir -m 777 "$work/lc"
server_cpu="" client_cpu=""
if command -v taskset >/dev/null && [ "$(nproc)" -ge 2 ]; then
    server_cpu="taskset -c 0"
    client_cpu="taskset -c 1"
fi
cleanup() {
    [ -f "$work/nginx.pid" ] && kill "$(cat "$work/nginx.pid")" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

plain_port=18431
slow_port=18432
mkdir -p "$work/logs"
cat >"$work/nginx.conf" <<CONF
load_module $echo_module;
worker_processes 1;
pid $work/nginx.pid;
error_log $work/logs/error.log;
events { worker_connections 4096; }
http {
    access_log off;
    keepalive_requests 100000;
    client_body_temp_path $work/body;
    proxy_temp_path $work/proxy;
    fastcgi_temp_path $work/fastcgi;
    uwsgi_temp_path $work/uwsgi;
    scgi_temp_path $work/scgi;
    add_header LinkChecker allow-concurrent-checks always;
    server {
        listen 127.0.0.1:$plain_port;
        location /ok/ { return 200 "ok\n"; }
        location /missing/ { return 404; }
        location ~ ^/moved/(.*)\$ { return 301 /ok/\$1; }
    }
    server {
        listen 127.0.0.1:$slow_port;
        listen 127.0.0.1:$((slow_port + 1));
        listen 127.0.0.1:$((slow_port + 2));
        listen 127.0.0.1:$((slow_port + 3));
        location /ok/ { echo_sleep 0.02; echo ok; }
        location /missing/ { echo_status 404; echo_sleep 0.02; echo missing; }
        location ~ ^/moved/(.*)\$ {
            echo_status 301;
            add_header Location /ok/\$1 always;
            echo_sleep 0.02;
            echo moved;
        }
    }
}
CONF
$server_cpu nginx -c "$work/nginx.conf" -p "$work"
sleep 0.5

# The list: every tenth URL a redirect, two in ten missing, the rest ok, in a fixed mixed order.
# With SPREAD 4 the URLs go round four ports of the slow server, as a list spans several hosts.
make_list() {
    local port=$1 spread=${2:-1}
    awk -v n="$count" -v p="$port" -v s="$spread" 'BEGIN {
        for (i = 0; i < n; i++) {
            k = i % 10
            kind = (k == 9) ? "moved" : (k == 3 || k == 7) ? "missing" : "ok"
            printf "http://127.0.0.1:%d/%s/%d\n", p + i % s, kind, i
        }
    }'
}

median() { sort -g | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

# run NAME COMMAND...: one untimed run, then $runs timed ones; the last run's output stays in $work/out.
run() {
    local name=$1
    shift
    "$@" >/dev/null 2>&1 || true
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s.%N)
        "$@" >"$work/out" 2>&1 || true
        end=$(date +%s.%N)
        echo "$end - $start" | bc
    done | median >"$work/median"
    printf '%-34s %8.2f s %8.0f URL/s   ' "$name" "$(cat "$work/median")" \
        "$(echo "$count / $(cat "$work/median")" | bc -l)"
}

ours() { # PARALLEL LIST
    printf '[INET]\r\nRI12=30\r\nRI21=%s\r\n' "$1" >"$work/ours.ini"
    LINKTRAWL_INI="$work/ours.ini" $client_cpu "$bin" --check-urls "$2" -save2 "$work/ours.txt"
}
ours_counts() {
    printf 'ok %s  404 %s\n' "$(grep -c $'^  Ok\r$' "$work/ours.txt")" \
        "$(grep -c $'^  404 - Not Found\r$' "$work/ours.txt")"
}

linkcheck() { # THREADS LIST
    printf '[checking]\nmaxrequestspersecond=100000\nthreads=%s\n[filtering]\ncheckextern=1\n' "$1" \
        >"$work/lc/linkcheckerrc"
    rm -f "$work/lc/lc.csv"
    $client_cpu linkchecker -f "$work/lc/linkcheckerrc" -r 0 -t "$1" --no-status --no-warnings --verbose \
        -F "csv/utf-8/$work/lc/lc.csv" -o none --stdin <"$2"
}
linkcheck_counts() {
    # The csv's "valid" column says True for an answer that was no error.
    printf 'ok %s  404 %s\n' "$(grep -c ';True;' "$work/lc/lc.csv" || true)" \
        "$(grep -c ';404 ' "$work/lc/lc.csv" || true)"
}

wget_spider() { $client_cpu wget --spider -nv -t 1 -i "$1" -o "$work/wget.log"; }
wget_counts() {
    printf 'ok %s  404 %s\n' "$(grep -c ' 200 OK' "$work/wget.log" || true)" \
        "$(grep -c 'broken link!!!' "$work/wget.log" || true)"
}

echo "linktrawl $(git rev-parse --short HEAD 2>/dev/null), nginx $(nginx -v 2>&1 | cut -d/ -f2)," \
    "linkchecker $(linkchecker --version 2>/dev/null | head -1 | awk '{print $2}'), $(wget --version | head -1)"
for setting in ${SETTINGS:-plain slow}; do
    port=$plain_port
    [ "$setting" = slow ] && port=$slow_port
    make_list "$port" >"$work/urls.txt"
    echo "== $count URLs, $setting ($( [ "$setting" = slow ] && echo "20 ms per answer" || echo "no added latency"))"
    run "linktrawl, parallel requests 1" ours 1 "$work/urls.txt"; ours_counts
    run "linktrawl, parallel requests 8" ours 8 "$work/urls.txt"; ours_counts
    if command -v linkchecker >/dev/null; then
        run "linkchecker -t 1" linkcheck 1 "$work/urls.txt"; linkcheck_counts
        run "linkchecker -t 10 (default)" linkcheck 10 "$work/urls.txt"; linkcheck_counts
    else
        echo "linkchecker: not installed (apt-get install linkchecker), skipped"
    fi
    run "wget --spider -i" wget_spider "$work/urls.txt"; wget_counts
done
# One host gets at most 4 requests at a time from us; over four hosts the default 8 are all used.
make_list "$slow_port" 4 >"$work/urls.txt"
echo "== $count URLs over four ports of the slow server (20 ms per answer)"
run "linktrawl, parallel requests 8" ours 8 "$work/urls.txt"; ours_counts
run "linktrawl, parallel requests 16" ours 16 "$work/urls.txt"; ours_counts
if command -v linkchecker >/dev/null; then
    run "linkchecker -t 10 (default)" linkcheck 10 "$work/urls.txt"; linkcheck_counts
fi
