#!/usr/bin/env bash
# Builds Tavendel's Debian package and portable archive into dist/:
#
#   dist/tavendel_<version>_<arch>.deb                  (checked with lintian)
#   dist/tavendel-<version>-portable-<arch>.tar.gz      (the portable folder)
#
# in a build folder of its own (build-package/), without tests or benchmarks,
# with Debian's hardening flags. Sets up what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh package

build=build-package
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
# The flags a Debian build uses (all the hardening, reproducible paths),
# given on every run so that a changed dpkg-buildflags reaches the cache.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_INSTALL_PREFIX=/usr -DTAVENDEL_BUILD_TESTS=OFF -DTAVENDEL_BUILD_BENCH=OFF
cmake --build "$build" --parallel "$(nproc)"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
# Every date in the archives is the release's, so the same sources give the
# same archives.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l packaging/debian/changelog -S Timestamp)
export SOURCE_DATE_EPOCH
mkdir -p dist

deb="tavendel_${version}_${arch}.deb"
rm -rf "$build/cpack"
cpack --config "$build/CPackConfig.cmake" -B "$PWD/$build/cpack"
mv "$build/cpack/$deb" "dist/$deb"

portable="tavendel-$version"
archive="tavendel-$version-portable-$arch.tar.gz"
rm -rf "$build/portable"
cmake --install "$build" --component portable --prefix "$build/portable/$portable" --strip
tar --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$SOURCE_DATE_EPOCH" \
  -C "$build/portable" -cf - "$portable" | gzip -9n >"dist/$archive"

echo "Built dist/$deb ($(du -k "dist/$deb" | cut -f1) KB) and dist/$archive ($(du -k "dist/$archive" | cut -f1) KB)"
echo "Depends: $(dpkg-deb -f "dist/$deb" Depends)"
echo "lintian:"
lintian --info "dist/$deb"
