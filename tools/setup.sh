#!/usr/bin/env bash
# Set up, build and run Zelvo on Debian 12.
#   tools/setup.sh run     install what is missing, build the program in Release, start it
#   tools/setup.sh test    install what is missing, build, run the whole test suite
#   tools/setup.sh engine-checks   the engine's tests under ASan+UBSan, then the fuzzers
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
JOBS="$(nproc 2>/dev/null || echo 2)"

PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev libboost-math-dev
          libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev fonts-dejavu-core
          fonts-dejavu-extra xvfb xauth
          clang libclang-rt-14-dev desktop-file-utils appstream x11-utils git
          qt6-translations-l10n dpkg-dev file man-db poppler-utils)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@";
    elif command -v sudo >/dev/null; then sudo "$@";
    else echo "Serve l'accesso di root per installare: $*" >&2; exit 1; fi
}

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

configure_and_build() { # build-dir build-type [cmake args...]
    local dir="$1" type="$2"; shift 2
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@"
    cmake --build "$dir" -j "$JOBS"
}

case "${1:-}" in
run)
    install_missing
    configure_and_build build/release Release -DZELVO_BUILD_TESTS=OFF -DZELVO_BUILD_BENCH=OFF
    # The program as the build lays it out; the suite runs this command on a
    # clean clone, so a moved binary cannot go unseen.
    PROGRAMMA=build/release/ui/zelvo
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        echo "Nessun display: Zelvo è una finestra e qui non c'è uno schermo su cui aprirla." >&2
        echo "Per provarlo senza schermo:  xvfb-run -a $PROGRAMMA" >&2
        exit 1
    fi
    exec "$PROGRAMMA"
    ;;
test)
    install_missing
    configure_and_build build/test RelWithDebInfo
    cd build/test
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$JOBS"
    ;;
engine-checks)
    install_missing
    configure_and_build build/sanitize Debug -DCMAKE_CXX_COMPILER=clang++ \
        -DZELVO_SANITIZE=ON -DZELVO_BUILD_UI=OFF -DZELVO_BUILD_BENCH=OFF
    (cd build/sanitize && ctest --output-on-failure -j "$JOBS" -R '^(Engine|Funzione|ScriptControl|TestoNumero|LeggiNumero|Derivate|Studio|Table/)')
    configure_and_build build/fuzz RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DZELVO_FUZZ=ON -DZELVO_BUILD_UI=OFF -DZELVO_BUILD_TESTS=OFF -DZELVO_BUILD_BENCH=OFF
    mkdir -p build/fuzz/corpus
    build/fuzz/fuzz/fuzz_funzione -max_total_time="${ZELVO_FUZZ_SECONDS:-60}" -timeout=10 \
        -rss_limit_mb=2048 -dict=fuzz/funzione.dict build/fuzz/corpus fuzz/seeds
    # The study: "a;b" on the first line, the expression after it. A study
    # is bounded by its evaluations, not by time: Sin(1/x) takes seconds
    # alone and half a minute on a loaded machine.
    mkdir -p build/fuzz/corpus-studio
    build/fuzz/fuzz/fuzz_studio -max_total_time="${ZELVO_FUZZ_SECONDS:-60}" -timeout=120 -max_len=128 \
        -rss_limit_mb=2048 -dict=fuzz/funzione.dict build/fuzz/corpus-studio fuzz/seeds-studio
    ;;
*)
    echo "uso: $0 run | test | engine-checks" >&2
    exit 2
    ;;
esac
