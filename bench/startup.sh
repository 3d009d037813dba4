#!/usr/bin/env bash
# Start-up time, from process launch to the main menu's first paint, of this tree against
# an earlier commit (default: where this branch left main), side by side: both are built in Release, then started
# alternately N times on one display; the medians and their difference are printed.
#   bench/startup.sh [commit] [runs]
# Uses $DISPLAY when set (a real X server or Xvfb), else Qt's offscreen platform.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
before=${1:-$(git -C "$here" merge-base HEAD main)}
runs=${2:-41}
work=$here/build-startup
mkdir -p "$work"

# The earlier commit's sources, with this probe added to its benchmarks (kept for the next
# run against the same commit, so that only this tree is built again).
commit=$(git -C "$here" rev-parse "$before")
if [ "$(cat "$work/before-src/.commit" 2>/dev/null)" != "$commit" ]; then
    rm -rf "$work/before-src" "$work/before"
    mkdir -p "$work/before-src"
    git -C "$here" archive "$commit" | tar -x -C "$work/before-src"
    echo "$commit" > "$work/before-src/.commit"
fi
cp "$here/bench/startup_probe.cpp" "$work/before-src/bench/"
grep -q korvalen_startup_probe "$work/before-src/bench/CMakeLists.txt" ||
    printf '\nadd_executable(korvalen_startup_probe startup_probe.cpp)\ntarget_link_libraries(korvalen_startup_probe PRIVATE korvalen_windows)\n' \
        >> "$work/before-src/bench/CMakeLists.txt"

build() {  # source folder, build folder
    cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALEN_TESTS=OFF \
        ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
    cmake --build "$2" -j2 --target korvalen_startup_probe >/dev/null
}
build "$work/before-src" "$work/before"
build "$here" "$work/after"

[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
once() {  # probe -> milliseconds from launch to first paint
    local start end
    start=$(date +%s%N)
    end=$("$1" 2>/dev/null | head -n 1)
    echo $(( (end - start) / 1000 ))
}
declare -a a b
for p in "$work/before/bench/korvalen_startup_probe" "$work/after/bench/korvalen_startup_probe"; do once "$p" >/dev/null; done
for ((i = 0; i < runs; i++)); do
    a+=("$(once "$work/before/bench/korvalen_startup_probe")")
    b+=("$(once "$work/after/bench/korvalen_startup_probe")")
done
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
ma=$(median "${a[@]}")
mb=$(median "${b[@]}")
# The machine's speed drifts during the runs: each run is also set against the one just
# before it, and the median of those ratios is printed beside the medians' difference.
paired=$(for ((i = 0; i < runs; i++)); do echo "${b[i]} ${a[i]}"; done | awk '{print $1 / $2}' | sort -g |
    awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}')
awk -v a="$ma" -v b="$mb" -v n="$runs" -v c="$before" -v p="$paired" 'BEGIN {
    printf "launch to first paint of the main menu, median of %d alternating runs (microseconds)\n", n
    printf "  %-12s %8d\n  %-12s %8d\n  difference   %+7.2f %%\n", c, a, "this tree", b, 100 * (b - a) / a
    printf "  paired       %+7.2f %%  (median of the %d ratios run by run)\n", 100 * (p - 1), n }'
