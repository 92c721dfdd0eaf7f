#!/usr/bin/env bash
# Sets up what is missing, builds and starts Tavendel.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
tools/build.sh tavendel
exec build/bin/tavendel
