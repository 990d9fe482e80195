# Shared set-up for ./run and ./test: install what is missing, then build.
# shellcheck shell=bash

# What building and running the two programs needs (a font, so that a fresh
# machine shows text).
VX_RUN_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools
  qt6-qpa-plugins libgl-dev libtag1-dev fonts-dejavu-core)
# What the tests, benchmarks and the CI checks need on top.
VX_TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev ccache clang-format
  desktop-file-utils)

# Installs those of the given packages that are not installed; one query
# finds them, so a start with everything present costs a few milliseconds.
vx_ensure_packages() {
  local installed missing=() p
  # dpkg-query fails when any package is unknown: that is what is looked for.
  installed="$(dpkg-query -W -f='${Package} ${Status}\n' "$@" 2>/dev/null | awk '/ install ok installed$/ {print $1}' || true)"
  for p in "$@"; do
    grep -qxF "$p" <<<"$installed" || missing+=("$p")
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

# The CMake preset to build, and its build folder build/<preset>: "default", or
# "asan" for the sanitizer build (VX_PRESET=asan ./test).
VX_PRESET="${VX_PRESET:-default}"

# Configures when there is no build yet, then builds the given targets (all
# when none are given).
vx_build() {
  # A folder changes when a file in it is added, removed or renamed: then the
  # source globs are read again (the build itself does not re-check them).
  local stamp="build/$VX_PRESET/globs-read.stamp"
  if [ ! -f "build/$VX_PRESET/build.ninja" ] || [ ! -f "$stamp" ] ||
    [ -n "$(find src tests bench fuzz tools data cmake -type d -newer "$stamp" -print -quit 2>/dev/null)" ]; then
    cmake --preset "$VX_PRESET" >&2
    touch "$stamp"
  fi
  # ninja straight away: the preset's generator, without cmake's own start.
  ninja -C "build/$VX_PRESET" "$@" | { grep -v -e '^ninja: Entering directory' -e '^ninja: no work to do\.$' >&2 || true; }
  return "${PIPESTATUS[0]}"
}

# The tests are defined only when GoogleTest was found: a tree first
# configured by ./run, before the test packages were installed, is configured
# again.
vx_build_tests() {
  if [ -f "build/$VX_PRESET/build.ninja" ] && ! grep -q '^build bin/tests_platform:' "build/$VX_PRESET/build.ninja"; then
    cmake --preset "$VX_PRESET" >&2
    touch "build/$VX_PRESET/globs-read.stamp"
  fi
  vx_build
}
