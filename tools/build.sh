#!/usr/bin/env bash
# Configures and builds Tavendel into build/ (the program folder is build/bin).
# Extra arguments are build targets.
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
options=()
# The test script builds the benchmarks too; a plain build leaves them out.
[[ "${TAVENDEL_BENCH:-}" == 1 ]] && options+=(-DTAVENDEL_BUILD_BENCH=ON)
if [[ ! -f build/CMakeCache.txt ]]; then
  cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}"
elif ((${#options[@]} > 0)); then
  cmake -S . -B build "${options[@]}" >/dev/null
fi
targets=()
(($# > 0)) && targets=(--target "$@")
cmake --build build --parallel "$(nproc)" "${targets[@]}"
