#!/usr/bin/env bash
# Installs what building, running and testing Tavendel needs on Debian 12,
# only what is missing; safe to run again. Uses sudo when not root.
# With --ci, also what CI adds: clang and libFuzzer for the fuzz targets, and
# llvm-symbolizer for readable sanitizer reports.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev qt6-qpa-plugins
  libqt6svg6 libqt6multimedia6 qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-comic-neue
)
if [[ "${1:-}" == "--ci" ]]; then
  packages+=(clang libclang-rt-14-dev llvm)
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  sudo=()
  ((EUID == 0)) || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
