#!/usr/bin/env bash
# Configures and builds Tavendel into build/ (the program folder is build/bin).
# Extra arguments are build targets.
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [[ ! -f build/CMakeCache.txt ]]; then
  cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
targets=()
(($# > 0)) && targets=(--target "$@")
cmake --build build --parallel "$(nproc)" "${targets[@]}"
