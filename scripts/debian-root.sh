# Shared by the scripts that try Pellimar on a clean Debian 12: makes a
# minimal bookworm with debootstrap from the archive this machine's own apt
# uses, gives it this machine's package sources, and mounts what programs in
# it need. Sourced, not run; needs root. The caller sets `root`.

mounted=()

# The archive this machine installs bookworm from: the first source of its
# apt configuration (one-line or deb822 format) that serves bookworm.
host_archive() {
  local file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $file ]] || continue
    awk '$1 == "deb" && $0 ~ /[ \t]bookworm[ \t]/ {
           for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit }
         }' "$file"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [[ -f $file ]] || continue
    awk 'BEGIN { RS = ""; FS = "\n" }
         /(^|\n)Suites:[^\n]*[ \t]bookworm([ \t]|$|\n)/ {
           for (i = 1; i <= NF; i++) if ($i ~ /^URIs:/) { split($i, u, /[ \t]+/); print u[2]; exit }
         }' "$file"
  done
}

# Copies this machine's package sources, and the keys they name, into the root.
copy_package_sources() {
  local file key
  rm -f "$root/etc/apt/sources.list"
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [[ -f $file ]] || continue
    mkdir -p "$root$(dirname "$file")"
    cp "$file" "$root$file"
    for key in $(sed -n 's/.*[Ss]igned-[Bb]y[:=] *\([^] ]*\).*/\1/p' "$file"); do
      [[ -f $key && ! -e $root$key ]] && { mkdir -p "$root$(dirname "$key")"; cp "$key" "$root$key"; }
    done
  done
  return 0
}

# make_root LOG: a fresh bookworm (minbase) in $root, with the machine's sources.
make_root() {
  local archive
  archive=$(host_archive | head -n 1)
  [[ -n $archive ]] || { echo "no source for Debian 12 (bookworm) in this machine's apt configuration" >&2; return 1; }
  if ! command -v debootstrap >/dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
  fi
  rm -rf "$root"
  mkdir -p "$root"
  debootstrap --variant=minbase bookworm "$root" "$archive" > "$1"
  copy_package_sources
}

mount_in_root() {  # mount_in_root TYPE-OR-BIND SOURCE TARGET
  mkdir -p "$root/$3"
  if [[ $1 == bind ]]; then mount --bind "$2" "$root/$3"; else mount -t "$1" "$2" "$root/$3"; fi
  mounted+=("$root/$3")
}

mount_system_folders() {
  mount_in_root proc proc /proc
  mount_in_root sysfs sysfs /sys
  mount_in_root bind /dev /dev
  mount_in_root bind /dev/pts /dev/pts
}

unmount_all() {
  local i
  for (( i=${#mounted[@]}-1; i>=0; i-- )); do
    umount -l "${mounted[i]}" 2>/dev/null || true
  done
  mounted=()
}
