#!/usr/bin/env bash
# Installs what building, running and testing Tavendel needs on Debian 12,
# only what is missing; safe to run again. Uses sudo when not root.
#
#   tools/setup-debian.sh [test] [package] [ci]
#
# "test" adds what the test suite runs besides the program (the validators
# of the desktop entry and the metainfo); "package" adds what
# tools/package.sh needs to build and check the Debian package; "ci" adds
# what CI needs besides: clang and libFuzzer for the fuzz targets, and
# llvm-symbolizer for readable sanitizer reports.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev qt6-qpa-plugins
  libqt6svg6 libqt6multimedia6 qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-comic-neue
)
test_packages=(desktop-file-utils appstream)
package_packages=(dpkg-dev file lintian)
ci_packages=(clang libclang-rt-14-dev llvm)

for extra in "$@"; do
  case "$extra" in
    test) packages+=("${test_packages[@]}") ;;
    package) packages+=("${package_packages[@]}") ;;
    ci) packages+=("${ci_packages[@]}") ;;
    *) echo "setup-debian.sh: unknown set '$extra' (test, package, ci)" >&2; exit 2 ;;
  esac
done

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
