# Shared set-up for ./run and ./test: install what is missing, then build.
# shellcheck shell=bash

VX_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libqt6test6
  qt6-qpa-plugins libgl-dev libtag1-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core ccache attr clang-format desktop-file-utils)

vx_ensure_packages() {
  local missing=()
  for p in "${VX_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}" >&2
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      sudo=(sudo -n)
    else
      echo "These packages are missing and I cannot install them (not root, no sudo): ${missing[*]}" >&2
      exit 1
    fi
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq >&2 || { echo "apt-get update failed" >&2; exit 1; }
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2 \
    || { echo "apt-get install failed for: ${missing[*]}" >&2; exit 1; }
}

vx_build() {
  if [ ! -f build/default/build.ninja ]; then
    cmake --preset default >&2
  fi
  cmake --build --preset default >&2
}
