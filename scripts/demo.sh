#!/usr/bin/env bash
# The main job: installs from a web page. Builds kst, kestrel-host and the plug-in, makes the
# demo's web folder from examples/web/, serves it over loopback HTTP and runs the installation
# unattended through kestrel-host under wine64 in a fresh prefix, which is kept for a look,
# saving a screenshot of the plug-in window and of every dialog in build/demo/shots.
# Exit status 0 only when the installation ran to its end.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
out=$repo/build/demo
web=$out/web
prefix=$out/prefix
mkdir -p "$out"
log=$out/build.log
: >"$log"
quiet() { "$@" >>"$log" 2>&1 || { tail -n 40 "$log" >&2; echo "failed: $*" >&2; exit 1; }; }

echo "== packages and builds (output in $log)"
scripts/install-deps.sh
quiet cmake --preset native
quiet cmake --build --preset native --target kst -j "$(nproc)"
quiet cmake --preset win64
quiet cmake --build --preset win64 --target kestrel-host npkestrel -j "$(nproc)"
kst=build/native/tools/kst/kst
host=build/win64/tools/host/kestrel-host.exe

echo "== web folder $web"
rm -rf "$web"
mkdir -p "$web/docs"
cp examples/web/index.html examples/web/readme.txt "$web/"
cp examples/web/docs/guide.txt "$web/docs/"
"$kst" encode examples/web/setup.txt -o "$web/setup.kst"
# The intro and screen pictures are drawn here rather than kept in the repository.
python3 - "$web" <<'PICTURES'
import math, sys
sys.path.insert(0, "tests/e2e")
from kestrel_e2e import bmp24
web = sys.argv[1]

def intro(x, y):  # a sun rising over dark hills into an evening sky
    if math.hypot(x - 320, y - 300) < 70:
        return (255, 220, 90)
    if y > 330 + 25 * math.sin(x / 60):
        return (20, 40 + y // 12, 30)
    return (255 - y // 3, 120 - y // 4, 60 + y // 3)

def emblem(x, y):  # an orange disc with a white wing, cornered in the gradient's foot
    d = math.hypot(x - 47.5, y - 47.5)
    if d > 44:
        return (0, 0, 36)
    return (255, 255, 255) if abs(abs(x - 47.5) * 0.6 - (y - 40)) < 5 else (240, 130, 20)

open(f"{web}/intro.bmp", "wb").write(bmp24(640, 480, intro))
open(f"{web}/emblem.bmp", "wb").write(bmp24(96, 96, emblem))
PICTURES
"$kst" archive -o "$web/samples.arc" examples/web/samples
(cd "$web" && find . -type f | sort | sed 's|^\./|  |')

server=""
cleanup() {
    [ -z "$server" ] || kill "$server" 2>/dev/null || true
    [ ! -d "$prefix" ] || WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

# Port 0: the server takes a free port and says which.
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$web" >"$out/http.log" 2>&1 &
server=$!
port=""
for _ in $(seq 50); do
    port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$out/http.log" | head -n 1)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { cat "$out/http.log" >&2; echo "the web server did not start" >&2; exit 1; }
url=http://127.0.0.1:$port/index.html

winpath() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }
shots=$out/shots
# Both parts of the demo, then OK to every other window.
printf 'Choose the parts => check 1,2\n* => ok\n' >"$out/answers.txt"
rm -f "$out/transcript.jsonl"
rm -rf "$prefix" "$shots"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
# A proxy meant for the outside world must not catch loopback requests.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy
display=()
[ -n "${DISPLAY:-}" ] || display=(xvfb-run -a)

echo "== installing from $url in a fresh Wine prefix $prefix"
# Pinned fonts, so that the screenshots look the same on every machine; made under the display
# (a prefix first started without one keeps its windows invisible) and let go before the host.
"${display[@]}" scripts/wine-fonts.sh "$prefix"
/usr/lib/wine/wineserver -w
start=$(date +%s)
status=0
# Output goes to files: the prefix's services outlive the host and would hold a pipe open.
"${display[@]}" timeout --kill-after=10 240 /usr/lib/wine/wine64 "$host" \
    --answers "$(winpath "$out/answers.txt")" --transcript "$(winpath "$out/transcript.jsonl")" \
    --screenshots "$(winpath "$shots")" --timeout 120 "$url" >"$out/host.out" 2>"$out/host.err" </dev/null || status=$?
echo "kestrel-host exit status $status after $(($(date +%s) - start)) s"
cat "$out/host.out"
# Wine's own chatter (a new prefix, the display going away) is kept out unless something failed.
[ "$status" -eq 0 ] || cat "$out/host.err"

installed=$prefix/drive_c/KDEMO
echo "== installed files: C:\\KDEMO = $installed"
[ -d "$installed" ] && (cd "$installed" && find . -type f | sort | sed 's|^\./|  |')
echo "== install.log: C:\\KDEMO\\install.log = $installed/install.log"
[ -f "$installed/install.log" ] && cat "$installed/install.log" || echo "(none)"
echo "== transcript: $out/transcript.jsonl"
[ -f "$out/transcript.jsonl" ] && cat "$out/transcript.jsonl"
echo "== screenshots: $shots"
[ -d "$shots" ] && ls "$shots" | sed 's|^|  |'
echo "== requests served"
grep '"GET' "$out/http.log" | sed 's/.*"GET \([^ ]*\).* \([0-9][0-9][0-9]\) .*/  \1 \2/' || true
echo "== the prefix is kept: $prefix"
if [ "$status" -ne 0 ] || [ ! -f "$installed/install.log" ]; then
    echo "the installation did not run to its end" >&2
    exit 1
fi
echo "the installation ran to its end"
