#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine.
#   scripts/setup.sh run    install what is missing, build, start the program
#   scripts/setup.sh test   install what is missing, build, run every test
#   scripts/setup.sh bench  install what is missing, build Release, run the benchmarks
#   scripts/setup.sh deps   only install what is missing
# Safe to run again: packages already present are not installed twice.
set -euo pipefail

cd "$(dirname "$0")/.."
ROOT=$(pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-charts-dev libsqlite3-dev libcurl4-openssl-dev rapidjson-dev libsimpleini-dev
    libqt6opengl6-dev  # Qt6Charts' CMake package needs Qt6OpenGL's, which qt6-charts-dev does not pull in
    libxlsxwriter-dev  # typed cells for the spreadsheet export
    libcups2-dev       # queue state and job outcome of the print queues
    qt6-translations-l10n  # Qt's own dialogs and buttons in Chinese
    fonts-noto-cjk
    libgtest-dev libgmock-dev libcpp-httplib-dev libbenchmark-dev
    xvfb xauth imagemagick poppler-utils
    cups cups-client cups-bsd printer-driver-cups-pdf
)

install_deps() {
    local missing=()
    for pkg in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        echo "setup: all packages present"
        return
    fi
    echo "setup: installing ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build <folder> <build type>
build() {
    cmake -S "$ROOT" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE="$2" >/dev/null
    cmake --build "$1" -j "$JOBS"
}

case "${1:-}" in
deps)
    install_deps
    ;;
run)
    install_deps
    build "$ROOT/build/release" Release
    exec "$ROOT/build/release/src/app/zeltora"
    ;;
test)
    install_deps
    build "$ROOT/build/debug" Debug
    cd "$ROOT/build/debug"
    ctest --output-on-failure -j "$JOBS"
    ;;
bench)
    install_deps
    build "$ROOT/build/release" Release
    for b in "$ROOT"/build/release/bench/bench_*; do
        [ -x "$b" ] && "$b" --benchmark_min_time=0.2
    done
    ;;
*)
    echo "usage: $0 run|test|bench|deps" >&2
    exit 2
    ;;
esac
