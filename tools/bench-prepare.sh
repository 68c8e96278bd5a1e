# Sourced by the benchmark scripts, from the checkout's root:
# bench_prepare TARGET... builds those targets of the Windows build, readies
# a Wine prefix of the benchmarks' own on a virtual display (both stopped
# when the script ends), and sets `prefix` and `b`, the Windows build tree.
bench_prepare() {
    ./tools/bootstrap.sh >/dev/null
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j"$(nproc 2>/dev/null || echo 2)" --target "$@" >/dev/null
    prefix=$PWD/build/windows/bench-prefix
    b=$PWD/build/windows
    ./tools/wine-prefix.sh "$prefix"
    . ./tools/virtual-display.sh
    start_virtual_display 191 240
    trap 'WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 </dev/null; kill $xvfb_pid 2>/dev/null' EXIT
    WINEPREFIX=$prefix TZ=Europe/Warsaw wineserver -p >/dev/null 2>&1 </dev/null
}
