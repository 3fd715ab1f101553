#!/usr/bin/env bash
# Kept for old habits: the screenshots are taken by scripts/screenshots.sh
# (same options).
exec "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/screenshots.sh" "$@"
