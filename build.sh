#!/usr/bin/env bash
# Installs what is missing, builds, and then starts Tressel ("run") or runs
# every test ("test"). Works on a fresh Debian 12 machine, as root or through sudo.
set -euo pipefail

mode=${1:-run}
here=$(cd "$(dirname "$0")" && pwd)
build="$here/build"

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-qpa-plugins libqt6help6 libqt6sql6-sqlite
    libgumbo-dev libmariadb-dev libuchardet-dev
    fonts-dejavu-core fonts-liberation
)
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    php-cli php-cgi php-mysql mariadb-server
    xvfb openbox xdotool x11-utils
    clang libclang-rt-14-dev valgrind
)

case "$mode" in
    run) wanted=("${packages[@]}") ;;
    test) wanted=("${packages[@]}" "${test_packages[@]}") ;;
    *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${as_root[@]}" apt-get update -q
    "${as_root[@]}" apt-get install -y -q "${missing[@]}"
fi

jobs=$(nproc)
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs"

case "$mode" in
    run)
        exec "$build/src/tressel" "${@:2}"
        ;;
    test)
        export QT_QPA_PLATFORM=offscreen
        ctest --test-dir "$build" --output-on-failure -j "$jobs" -LE fuzz
        # Fuzz targets need clang and its libFuzzer: a second build folder,
        # and a short run here; longer runs use the same label by hand.
        fuzz="$here/build-fuzz"
        cmake -S "$here" -B "$fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTRESSEL_FUZZ=ON >/dev/null
        cmake --build "$fuzz" -j "$jobs" --target fuzz
        ctest --test-dir "$fuzz" --output-on-failure -L fuzz
        ;;
esac
