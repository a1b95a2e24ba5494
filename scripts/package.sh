#!/usr/bin/env bash
# Optional: builds the program as scripts/run.sh does, makes its Debian
# package (cpack -G DEB, into build/package) and installs it with apt, which
# brings its dependencies: the program then sits in the desktop's menu
# (Office) and runs as "Quorvel_A5" from anywhere.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" run
rm -rf "$root/build/package"
cpack -G DEB --config "$root/build/run/CPackConfig.cmake" -B "$root/build/package" >/dev/null
deb=$(ls "$root"/build/package/quorvel-a5_*.deb)
echo "Built $deb"
sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb"
echo "Installed: $(dpkg-query -W -f='${Package} ${Version}' quorvel-a5)"
