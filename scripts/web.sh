#!/usr/bin/env bash
# Builds the chart page (web/) over the JavaScript package and serves it on
# localhost, printing the address: bash scripts/web.sh [PORT] (default 8173).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f js/generated/movlex_wasm.mjs ] || bash scripts/js-build.sh
(cd web && npm ci --no-audit --no-fund > /dev/null && npx vite build > /dev/null)
exec node web/serve.mjs "${1:-8173}"
