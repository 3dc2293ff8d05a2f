#!/usr/bin/env bash
# Starts the real program under Xvfb in a temporary copy folder that already
# holds the demonstration data (so no offer is asked), waits for the main
# window, captures it and writes docs/floor.png.
#   scripts/screenshot.sh [output.png]
# ZELTORA_BUILD_DIR picks the build folder (default build/release).
set -euo pipefail

cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${ZELTORA_BUILD_DIR:-$ROOT/build/release}
OUT=${1:-$ROOT/docs/floor.png}
TITLE="Ostrelo点餐系统"

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" --target zeltora zeltora_makedemo >/dev/null

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp "$BUILD/src/app/zeltora" "$WORK/zeltora"
"$BUILD/src/app/zeltora_makedemo" "$WORK" >/dev/null

# Runs inside the virtual display: start, wait for the window, capture it.
cat >"$WORK/capture.sh" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
work=$1 out=$2 title=$3
cd "$work"
./zeltora >"$work/zeltora.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
id=""
for _ in $(seq 100); do
    id=$(xwininfo -root -tree | grep -F "\"$title\"" | awk '{print $1}' | head -n 1 || true)
    [ -n "$id" ] && break
    sleep 0.1
done
if [ -z "$id" ]; then
    echo "screenshot: the main window did not appear" >&2
    cat "$work/zeltora.log" >&2
    exit 1
fi
# Let the first relayout after showing (100 ms) and the painting settle.
sleep 1.5
geometry=$(xwininfo -id "$id" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /Width:/{w=$2} /Height:/{h=$2} END{printf "%dx%d+%d+%d", w, h, x, y}')
import -window root -crop "$geometry" +repage "$out"
INNER
chmod +x "$WORK/capture.sh"

mkdir -p "$(dirname "$OUT")"
xvfb-run -a -s "-screen 0 1400x900x24" "$WORK/capture.sh" "$WORK" "$OUT" "$TITLE"
echo "screenshot: wrote $OUT"
