#!/usr/bin/env bash
# One entry point for setting up, building, running and testing Zentorix on Debian 12.
#   scripts/zentorix.sh run    install what is missing, build, start the program
#   scripts/zentorix.sh test   install what is missing, build, run every test
#   scripts/zentorix.sh build  install what is missing and build only
#   scripts/zentorix.sh build-sanitized
#                              install what is missing and build the sanitizer
#                              build (clang, ASan and UBSan, with the fuzz targets)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
san_build="$root/build-san"
jobs=$(nproc 2>/dev/null || echo 2)

# The second row is the census's (animated pictures, sharded runs); the third
# the installed program's and its Debian package's; the last the end-to-end
# suite's: an X server, a window manager, real key and pointer events,
# screenshots, and the driver's interpreter.
packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-private-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
          qt6-translations-l10n
          libgif-dev parallel
          dpkg-dev fakeroot lintian desktop-file-utils appstream shared-mime-info xdg-utils
          libfile-mimeinfo-perl man-db file
          python3 xvfb xauth openbox xdotool imagemagick)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
}

configure_and_build() {
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
    cmake --build "$build" -j "$jobs"
}

# The tests once more, built by clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, every report fatal; the same build holds the fuzz
# targets, whose smoke runs are part of its tests. Light optimisation keeps the
# instrumented build quick.
build_sanitized() {
    CC=clang CXX=clang++ cmake -S "$root" -B "$san_build" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
        -DZENTORIX_SANITIZE=ON -DZENTORIX_FUZZ_SECONDS=10
    cmake --build "$san_build" -j "$jobs"
}

case "${1:-}" in
run)
    install_missing
    configure_and_build
    exec "$build/bin/zentorix" "${@:2}"
    ;;
build)
    install_missing
    configure_and_build
    ;;
test)
    install_missing
    configure_and_build
    # Offscreen for the GUI tests; the end-to-end tests (label e2e) give their
    # program a display of their own under xvfb-run.
    export QT_QPA_PLATFORM=offscreen
    ctest --test-dir "$build" --output-on-failure -j "$jobs"
    build_sanitized
    UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir "$san_build" --output-on-failure -j "$jobs"
    ;;
build-sanitized)
    install_missing
    build_sanitized
    ;;
*)
    echo "usage: $0 run|test|build|build-sanitized" >&2
    exit 2
    ;;
esac
