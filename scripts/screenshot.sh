#!/usr/bin/env bash
# Makes docs/screenshot.png: the main window on a small sample folder, offscreen.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/common.sh
vx_ensure_packages "${VX_RUN_PACKAGES[@]}" "${VX_TEST_PACKAGES[@]}"
vx_build_tests
sample="$(mktemp -d)"
trap 'rm -rf "$sample"' EXIT
mkdir -p "$sample/Holiday 2024"
for f in "IMG_0001.JPG" "IMG_0002.JPG" "Beach party.jpg" "notes  draft.txt" "Report_final_v2.pdf" "song (live).mp3"; do
  printf 'sample' > "$sample/$f"
done
export XDG_CONFIG_HOME="$sample/.config" XDG_DATA_HOME="$sample/.data" VEXORREN_HOME="$sample/.program"
QT_QPA_PLATFORM=offscreen build/default/bin/shot docs/screenshot.png /p "$sample"
echo "docs/screenshot.png written"
