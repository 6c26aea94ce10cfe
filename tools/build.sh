#!/usr/bin/env bash
# Builds Vasora and runs it, its tests, its sanitizer tests or its benchmarks.
#   tools/build.sh run        build, then open the main menu with the shipped content (further
#                             arguments go to the program, e.g. --quit-after-start)
#   tools/build.sh test       build, then run every test headless
#   tools/build.sh sanitize   build with ASan and UBSan in build-asan/, run every test there
#   tools/build.sh nogui      build without Qt in build-nogui/: the engine, the shared actions,
#                             vasora-cli and their tests, so the no-Qt promise is checked
#   tools/build.sh bench      build optimised, run the benchmarks
#   tools/build.sh package    build, then make the Debian package in build/ and check its
#                             contents and dependencies (tools/check-deb.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
what=${1:-test}
"$root/tools/install-deps.sh"
jobs=$(nproc)

configure_build() { # dir, extra cmake args...
    local dir=$1; shift
    # Warnings are errors where CI asks for it (VASORA_WERROR=ON), never in a learner's build.
    cmake -S "$root" -B "$root/$dir" -G Ninja -DVASORA_WERROR="${VASORA_WERROR:-OFF}" "$@" >/dev/null
    cmake --build "$root/$dir" -j "$jobs"
}

case "$what" in
    run)
        configure_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
        # The program takes its project folder from the current directory.
        cd "$root/content"
        exec "$root/build/app/vasora" "${@:2}"
        ;;
    test)
        configure_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
        cd "$root/build"
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs"
        ;;
    sanitize)
        configure_build build-asan -DCMAKE_BUILD_TYPE=Debug -DVASORA_SANITIZE=ON -DVASORA_BENCH=OFF
        cd "$root/build-asan"
        ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
            ctest --output-on-failure -j "$jobs"
        ;;
    nogui)
        configure_build build-nogui -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVASORA_GUI=OFF \
            -DVASORA_BENCH=OFF
        cd "$root/build-nogui"
        ctest --output-on-failure -j "$jobs"
        ;;
    bench)
        configure_build build-bench -DCMAKE_BUILD_TYPE=Release -DVASORA_TESTS=OFF
        for b in "$root"/build-bench/bench/*/bench_*; do
            [ -x "$b" ] || continue
            QT_QPA_PLATFORM=offscreen "$b"
        done
        ;;
    package)
        configure_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
        cd "$root/build"
        rm -f vasora_*.deb
        cpack -G DEB >/dev/null
        "$root/tools/check-deb.sh" "$root"/build/vasora_*.deb
        ;;
    *)
        echo "usage: tools/build.sh run|test|sanitize|nogui|bench|package" >&2
        exit 1
        ;;
esac
