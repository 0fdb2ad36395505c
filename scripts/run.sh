#!/usr/bin/env bash
# Installs what is needed, builds, and converts the bundled sample flat file.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh build
