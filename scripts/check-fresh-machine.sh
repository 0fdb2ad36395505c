#!/usr/bin/env bash
# Runs the README's two commands as a newcomer would, on a truly fresh Debian
# 12: a minimal bookworm made with debootstrap from the archive this machine's
# apt uses, the project cloned (its committed HEAD) into /root/pellimar, a
# folder only root may enter, and each command run there as root with an
# empty environment: no locale, no HOME, only PATH. Reports each command's
# result and time, and keeps their logs beside the system. Not part of the
# test command: it takes twenty minutes or more and needs the package
# archive. Needs root. Usage: scripts/check-fresh-machine.sh [RESULTS]
set -euo pipefail
cd "$(dirname "$0")/.."

results=$(realpath -m "${1:-/tmp/pellimar-fresh-check}")
root=$results/bookworm
source scripts/debian-root.sh

[[ $(id -u) -eq 0 ]] || { echo "check-fresh-machine.sh must run as root (debootstrap, chroot, mount)" >&2; exit 1; }
trap unmount_all EXIT
step() { echo; echo "== $*"; }
report=()
say() { echo "$*"; report+=("$*"); }

# run_command NAME COMMAND: runs the command in the clone, as root, with
# nothing in its environment but PATH, and says how it ended and how long it took.
run_command() {
  local start=$SECONDS status=0
  chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "cd /root/pellimar && $2 </dev/null" > "$results/$1.log" 2>&1 || status=$?
  local took=$(( SECONDS - start ))
  say "$2: exit $status after $(( took / 60 )) min $(( took % 60 )) s (log: $results/$1.log)"
  return "$status"
}

step "A fresh Debian 12 (bookworm, minbase) in $root"
mkdir -p "$results"
make_root "$results/debootstrap.log"
mount_system_folders
mount_in_root bind /dev/shm /dev/shm
packages_before=$(chroot "$root" dpkg-query -W -f='${Status}\n' | grep -c 'install ok installed')
echo "$packages_before packages"

step "The project, cloned into /root/pellimar"
chmod 0700 "$root/root"
git clone --quiet --no-hardlinks . "$root/root/pellimar"
say "commit $(git -C "$root/root/pellimar" log -1 --format='%h %s')"
say "/root is $(stat -c %a "$root/root"), its environment: $(chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin env | tr '\n' ' ')"

failed=0
step "The first command"
run_command run "bash scripts/run.sh" || failed=1
grep -a 'total references created' "$results/run.log" || true
packages_after_run=$(chroot "$root" dpkg-query -W -f='${Status}\n' | grep -c 'install ok installed')
say "packages installed by it: $(( packages_after_run - packages_before ))"

step "The test command"
run_command test "bash scripts/test.sh" || failed=1
grep -aE 'tests passed|tests failed|^-- took|^== |Tests failed' "$results/test.log" || true
packages_after_test=$(chroot "$root" dpkg-query -W -f='${Status}\n' | grep -c 'install ok installed')
say "packages installed by it: $(( packages_after_test - packages_after_run )); disk used by the root: $(du -sh "$root" 2>/dev/null | cut -f1)"

step "Report"
printf '%s\n' "${report[@]}" | tee "$results/report.txt"
exit "$failed"
