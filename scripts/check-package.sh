#!/usr/bin/env bash
# Installs the built .deb on a clean Debian 12 system and tries it there: a
# minimal bookworm made with debootstrap in a folder, the package installed
# with apt-get as a user would, pellimar-cli converting the installed sample,
# and the window started under Xvfb with screenshots of it and of its Help
# window. Needs root. Usage: scripts/check-package.sh [PACKAGE.deb] [RESULTS]
set -euo pipefail
cd "$(dirname "$0")/.."

package=$(realpath "${1:-$(ls out/pellimar_*.deb | head -n 1)}")
results=$(realpath -m "${2:-/tmp/pellimar-package-check}")
root=$results/bookworm
user=reader
source scripts/debian-root.sh

[[ $(id -u) -eq 0 ]] || { echo "check-package.sh must run as root (debootstrap, chroot, mount)" >&2; exit 1; }
trap unmount_all EXIT
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }
as_user() { chroot --userspec=$user:$user "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/home/$user LANG=C.UTF-8 "$@"; }
step() { echo; echo "== $*"; }

step "A clean Debian 12 (bookworm, minbase) in $root"
mkdir -p "$results"
make_root "$results/debootstrap.log"
mount_system_folders
in_root apt-get update -qq
in_root useradd --create-home $user

step "apt-get install ./$(basename "$package")"
cp "$package" "$root/tmp/"
in_root sh -c "cd /tmp && apt-get install -y --no-install-recommends ./$(basename "$package")" > "$results/install.log"
grep -E '^[0-9]+ upgraded|^Setting up pellimar' "$results/install.log"
in_root dpkg-query -W -f='${Package} ${Version}: ${Status}\n' pellimar

step "pellimar-cli --version, then converting the installed sample as user $user"
as_user pellimar-cli --version
as_user pellimar-cli --no-progress -L /usr/share/pellimar/sample.def -r '2 3, p. #' -p '[#]' \
  --remove-page-marks /usr/share/pellimar/sample.fff /home/$user/sample-ref.fff
grep -a -m 3 -A 1 '<CS:Reference>' "$root/home/$user/sample-ref.fff" | tr -d '\r'

step "Completing pellimar-cli in bash from the file the package installs where bash-completion looks"
as_user bash -c 'source /usr/share/bash-completion/completions/pellimar-cli &&
  COMP_WORDS=(pellimar-cli --level) COMP_CWORD=1 &&
  $(complete -p pellimar-cli | sed -n "s/.* -F \([^ ]*\) .*/\1/p") && echo "--level<Tab>: ${COMPREPLY[*]}"'

step "Libraries of the window and of Qt's X11 platform plugin, before anything else is installed"
plugin=$(in_root sh -c 'ls /usr/lib/*/qt6/plugins/platforms/libqxcb.so')
if in_root ldd /usr/bin/pellimar "$plugin" | grep 'not found'; then
  echo "missing libraries" >&2; exit 1
fi
echo "all found"
as_user sh -c 'QT_QPA_PLATFORM=offscreen timeout 3 pellimar; test $? -eq 124' && echo "the window started offscreen and ran until stopped"

step "The window under Xvfb (xvfb, xauth, xdotool, x11-apps installed for this check only)"
in_root apt-get install -y -qq --no-install-recommends xvfb xauth xdotool x11-apps > "$results/x11-install.log"
cat > "$root/tmp/shoot.sh" <<'EOF'
#!/bin/sh
# Starts the window, shoots it, opens Help > Using Pellimar with the keyboard,
# shoots the guide's start and, further down, its worked example, and closes
# the window with Alt+X (which saves the settings).
set -eu
pellimar 2> /tmp/pellimar.err &
main=$(xdotool search --sync --onlyvisible --name '^Folio Flat File Pellimar' | head -n 1)
sleep 1
xwd -root -silent > /tmp/main.xwd
xdotool windowfocus --sync "$main" key alt+h
sleep 0.5
xdotool key Return
xdotool search --sync --onlyvisible --name 'Using Pellimar' > /dev/null
sleep 1
xwd -root -silent > /tmp/help.xwd
help=$(xdotool search --onlyvisible --name 'Using Pellimar' | head -n 1)
xdotool windowfocus --sync "$help" key --delay 100 Next Next
sleep 0.5
xwd -root -silent > /tmp/help-example.xwd
xdotool windowfocus --sync "$main" key alt+x
wait
EOF
chmod 755 "$root/tmp/shoot.sh"
as_user timeout 60 xvfb-run -a -s '-screen 0 1024x768x24' /tmp/shoot.sh
convert "$root/tmp/main.xwd" "$results/main-window.png"
convert "$root/tmp/help.xwd" "$results/help-window.png"
convert "$root/tmp/help-example.xwd" "$results/help-window-example.png"
echo "Screenshots: $results/main-window.png $results/help-window.png $results/help-window-example.png"
echo "Settings written on closing: $(cd "$root/home/$user" && find .config -type f | sort | tr '\n' ' ')"

step "Unmounting"
unmount_all
echo "Done; the system stays in $root"
