# Shared by run.sh and test.sh: install what is missing, then build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TARLEN_BUILD_DIR:-$ROOT/build}"

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libqt6sql6-sqlite libsqlite3-dev
          qt6-translations-l10n adwaita-icon-theme xvfb xauth fonts-liberation2 pxlib-dev poppler-utils
          libpq-dev postgresql libquazip1-qt6-dev)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Instalowanie pakietów: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    as_root apt-get install -y --no-install-recommends "${missing[@]}" \
        || { as_root apt-get update && as_root apt-get install -y --no-install-recommends "${missing[@]}"; }
}

build() {
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD" -j "$(nproc)"
}
