#!/usr/bin/env bash
# Installs what QUIL needs, builds it, makes a demo database once in the user's data folder and
# starts QUIL on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tools/setup.sh
cmake -S . -B build -G Ninja -DQUIL_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target quil make_demo quil_template quil_images

data=${XDG_DATA_HOME:-$HOME/.local/share}/QUIL
demo=$data/Demo.qdb
if [ ! -e "$demo" ]; then
  mkdir -p "$data"
  build/tools/make_demo "$demo" --members 300 --donations 3000
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: run it as  xvfb-run -a -s '-screen 0 1280x1024x24' build/bin/quil \"$demo\"" >&2
  exit 1
fi
exec build/bin/quil "$demo"
