#!/usr/bin/env bash
# Prints the HTTP client's throughput and processor time for a download from a
# loopback server into a file, beside curl fetching the same URL in the same
# run, and the processor time of a silent wait; each beside its goal.
#   scripts/bench-http.sh [megabytes] [rounds] [silent-seconds]
# TIKKORA_BUILD_DIR, TIKKORA_JOBS and TIKKORA_WINEPREFIX choose another build
# folder, build jobs and Wine prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
megabytes=${1:-200}
rounds=${2:-3}
silent=${3:-30}

"$root/scripts/install-deps.sh"
need=()
command -v curl >/dev/null || need+=(curl)
[ -x /usr/bin/python3 ] || need+=(python3)
if [ ${#need[@]} -gt 0 ]; then
    echo "bench-http: installing ${need[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${need[@]}"
fi

# Another build folder and prefix may be given, to keep clear of other builds.
build=${TIKKORA_BUILD_DIR:-$root/build/win}
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "${TIKKORA_JOBS:-$(nproc)}" --target net_http_bench >/dev/null
exe="$build/bin/net_http_bench.exe"

source "$root/scripts/wine-env.sh"
wine_env_start "${TIKKORA_WINEPREFIX:-$root/build/wineprefix-bench-http}" own
# One server and its services for the whole run, so that no round pays for
# their start.
wineserver -p >/dev/null 2>&1 || true

work=$(mktemp -d)
server_pid=""
stop_all() {
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
    wine_env_cleanup
}
trap stop_all EXIT

# The server reads each whole request (the header block may come in several
# sends) before it answers: closing with unread bytes would make the system
# reset the connection and cut the body short.
cat >"$work/server.py" <<'EOF'
import http.server, socket, sys, time

size = int(sys.argv[1]) * 1000 * 1000
body = memoryview(bytes(range(256)) * (size // 256) + bytes(size % 256))

class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        if self.path == "/silent":
            self.end_headers()
            self.wfile.flush()
            # Nothing more until the client goes, or two minutes at most.
            self.connection.settimeout(120)
            try:
                while self.connection.recv(4096):
                    pass
            except OSError:
                pass
            return
        self.send_header("Content-Length", str(size))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass

server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
with open(sys.argv[2], "w") as port_file:
    port_file.write(str(server.server_address[1]))
server.serve_forever()
EOF
/usr/bin/python3 "$work/server.py" "$megabytes" "$work/port" &
server_pid=$!
for _ in $(seq 100); do
    [ -s "$work/port" ] && break
    sleep 0.1
done
[ -s "$work/port" ] || { echo "bench-http: the server did not start" >&2; exit 1; }
url="http://127.0.0.1:$(cat "$work/port")"

hz=$(getconf CLK_TCK)
# CPU seconds (user + system) of a Linux process, from /proc.
cpu_of() { awk -v hz="$hz" '{printf "%.3f", ($14 + $15) / hz}' "/proc/$1/stat"; }

wait_for_line() { # file, pattern
    for _ in $(seq 6000); do
        grep -q "$2" "$1" 2>/dev/null && return 0
        sleep 0.01
    done
    return 1
}

# Runs the Windows program in a mode; prints "seconds cpu wineserver-cpu
# bytes chunks result" for the span between its two marks.
run_windows() {
    local out="$work/out.txt" pid="" p server c0 s0 c1 s1 done_line
    : >"$out"
    wine "$exe" "$@" >"$out" 2>&1 &
    local launcher=$!
    wait_for_line "$out" '^ready' || { echo "0 0 0 0 0 no-start"; return; }
    # The Windows program itself, in this prefix, not the wine launcher.
    for p in $(pgrep net_http_bench); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && pid=$p
    done
    server=$(wine_server_pid)
    c0=$(cpu_of "$pid"); s0=$(cpu_of "$server")
    wait_for_line "$out" '^done' || { echo "0 0 0 0 0 no-end"; return; }
    c1=$(cpu_of "$pid"); s1=$(cpu_of "$server")
    wait "$launcher" || true
    done_line=$(grep '^done' "$out" | tr -d '\r')
    awk -v c0="$c0" -v c1="$c1" -v s0="$s0" -v s1="$s1" -v l="$done_line" 'BEGIN {
        c = c1 - c0; s = s1 - s0
        n = split(l, f, /[ =]/)
        for (i = 2; i < n; i += 2) v[f[i]] = f[i + 1]
        r = substr(l, index(l, "result=") + 7)
        printf "%s %.3f %.3f %s %s %s\n", v["seconds"], c, s, v["bytes"], v["packets"], r
    }'
}

run_curl() {
    local times="$work/curl-times"
    { TIMEFORMAT='%R %U %S'; time curl -s -o "$work/curl.bin" "$url/data"; } 2>"$times"
    awk '{printf "%.3f %.3f\n", $1, $2 + $3}' "$times"
}

bytes=$((megabytes * 1000 * 1000))
file_win=$(winepath -w "$work/get.bin" 2>/dev/null)
echo "Download of $megabytes MB from $url/data into a file, $rounds rounds after one unreported"
# One line a round: Get's seconds, CPU and wineserver CPU, curl's seconds and
# CPU, Get's received chunks.
for round in $(seq 0 "$rounds"); do
    read -r g_sec g_cpu g_srv g_bytes g_chunks g_result < <(run_windows get "$url/data" "$file_win" 0)
    if [ "$g_bytes" != "$bytes" ] || [ "$(stat -c %s "$work/get.bin")" != "$bytes" ]; then
        echo "round $round: Get ended with '$g_result' after $g_bytes bytes" >&2
    fi
    read -r c_sec c_cpu < <(run_curl)
    cmp -s "$work/get.bin" "$work/curl.bin" || echo "round $round: the two files differ" >&2
    rm -f "$work/get.bin" "$work/curl.bin"
    if [ "$round" -gt 0 ]; then
        echo "$g_sec $g_cpu $g_srv $c_sec $c_cpu $g_chunks" >>"$work/rounds"
    fi
done
awk -v mb="$megabytes" '
BEGIN {
    printf "%-5s | %-10s %-26s %-6s | %-10s %-6s | %s\n", "round", "Get MB/s",
           "CPU s (own + wineserver)", "chunks", "curl MB/s", "CPU s", "Get / curl: throughput, CPU"
}
function row(name, gs, gc, gw, cs, cc, n,    gt, ct) {
    gt = mb / gs; ct = mb / cs
    printf "%-5s | %-10.1f %-26s %-6d | %-10.1f %-6.2f | %.2f x, %.2f x\n", name, gt,
           sprintf("%.2f (%.2f + %.2f)", gc + gw, gc, gw), n, ct, cc, gt / ct,
           (cc > 0 ? (gc + gw) / cc : 0)
}
{
    row(NR, $1, $2, $3, $4, $5, $6)
    for (i = 1; i <= 6; ++i) sum[i] += $i
}
END {
    row("mean", sum[1] / NR, sum[2] / NR, sum[3] / NR, sum[4] / NR, sum[5] / NR, sum[6] / NR)
    print "goal  | Get at least 0.9 x curl'"'"'s throughput at no more than 1.5 x its CPU" }' "$work/rounds"

echo
read -r w_sec w_cpu w_srv _ _ w_result < <(run_windows silent "$url/silent" "$silent")
# The Wine server also serves the prefix's own services: its CPU over the same
# span with no program of ours running.
server=$(wine_server_pid)
s0=$(cpu_of "$server")
sleep "$silent"
s1=$(cpu_of "$server")
awk -v s="$w_sec" -v c="$w_cpu" -v w="$w_srv" -v r="$w_result" -v i="$(awk -v a="$s0" -v b="$s1" 'BEGIN { print b - a }')" 'BEGIN {
    printf "Silent wait of %.1f s (ended by Cancel: %s): CPU %.3f s (%.3f + wineserver %.3f); goal below 0.1 s\n",
           s, r, c + w, c, w
    printf "The Wine server alone over the same span, no program of ours running: %.3f s\n", i
}'
