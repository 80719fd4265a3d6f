#!/usr/bin/env bash
# Debian packages the tool, its tests, the lab and the demo need. Installs only
# what is missing, so a machine that has everything never touches the network.
TARNWICK_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev libgl-dev libgtest-dev
  libsqlite3-dev sqlite3 libpq-dev postgresql libcurl4-openssl-dev libxlsxwriter-dev nlohmann-json3-dev libcli11-dev
  libsodium-dev
  fonts-wqy-microhei xvfb xauth iproute2 procps vsftpd unzip
  openbox xdotool x11-apps x11-utils jq
  qt6-translations-l10n at-spi2-core dbus-x11 python3-pyatspi
  dpkg-dev file lintian desktop-file-utils appstream man-db
)

ensure_packages() {
  local missing=()
  for p in "${TARNWICK_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}
