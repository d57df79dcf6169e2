#!/usr/bin/env bash
# Builds the game box and runs it on a demo installation against a local demo site.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=${VELMORA_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build"

demo=$PWD/demo
scripts/make-demo.sh "$build" "$demo"
# VELMORA_DEMO_OFFER_VERSION: the program version the demo site offers, so that the box fetches
# the site's update program (see README).
if [ -n "${VELMORA_DEMO_OFFER_VERSION:-}" ]; then
  printf '%s\r\n' "$VELMORA_DEMO_OFFER_VERSION" > "$demo/site/gengxin/update.txt"
fi

run="$demo/nginx"
rm -rf "$run" && mkdir -p "$run"
sed -e "s|@RUN@|$run|g" -e "s|@SITE@|$demo/site|g" tools/demo/nginx.conf.in > "$run/nginx.conf"
nginx -c "$run/nginx.conf" -e "$run/error.log"
trap 'kill "$(cat "$run/nginx.pid")" 2>/dev/null || true' EXIT
trap 'exit 130' INT TERM
echo "Demo site on http://127.0.0.1:8470/"

# Chromium refuses to run its sandbox as root; only scripts and tests switch it off.
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
"$demo/program/Velmora游戏盒"
# After an update, the update program and the box it starts run on: the site stays up for them.
while pgrep -f "^$demo/program/" > /dev/null; do
  sleep 1
done
