#!/usr/bin/env bash
# Installs what the build needs (when missing), configures and builds LinkTrawl into build/.
# Idempotent: a second run with nothing changed only asks Ninja, which finds nothing to do.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config qt6-base-dev libcurl4-openssl-dev libicu-dev
          libgtest-dev libgmock-dev libbenchmark-dev libqt6svg6 libxcb1-dev python3 python3-pyftpdlib)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    else
        echo "Missing packages. Run as root:" >&2
        echo "  apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
fi

build_dir=${LINKTRAWL_BUILD_DIR:-build}
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
# A compiler cache, when the machine has one, makes rebuilds of a fresh clone cheap.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
    export CCACHE_SLOPPINESS=time_macros,include_file_mtime,include_file_ctime
fi
if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DLINKTRAWL_WERROR=$werror "${launcher[@]}" >/dev/null
fi
cmake --build "$build_dir" --parallel "$(nproc)"
