#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when missing.
set -euo pipefail
pacotes=(g++ cmake make pkg-config qt6-base-dev qt6-translations-l10n
         fonts-liberation xvfb xauth strace clang clang-format libclang-rt-14-dev
         help2man desktop-file-utils appstream dpkg-dev file procps acl)
# The operator's guide screenshots (docs/capturas.sh) also need a window manager for the title
# bars, a tool that types and clicks, ImageMagick, and the GTK platform theme for the dark scene.
if [ "${1:-}" = "docs" ]; then pacotes+=(openbox xdotool imagemagick x11-utils qt6-gtk-platformtheme); fi
faltam=()
for p in "${pacotes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltam+=("$p")
done
[ ${#faltam[@]} -eq 0 ] && exit 0
echo "Instalando: ${faltam[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${faltam[@]}"
