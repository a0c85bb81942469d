#!/usr/bin/env bash
# Regenerates the shipped templates in install/MyLetters/ (run after a build).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target quillon-make-templates
chmod u+w install/MyLetters/*.odt 2>/dev/null || true
# ZIP time stamps are local times; a fixed zone keeps the bytes the same everywhere.
TZ=UTC build/tools/quillon-make-templates install/MyLetters
