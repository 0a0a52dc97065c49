#!/usr/bin/env bash
# Runs a command in a fresh clone of this checkout's committed HEAD inside a
# throw-away copy of a bare minimal Debian 12 root, the way a newcomer on a
# new machine would run it: nothing installed but the base system, so a
# missing install step fails here instead of hiding behind packages that a
# developer once installed by hand.
#
#   scripts/fresh-debian.sh --prepare       make (or check) the cached bare root
#   scripts/fresh-debian.sh 'scripts/test.sh'
#
# Needs root (debootstrap, chroot, mounts). Kept between runs, under
# $ORVAN_FRESH_CACHE (default /var/cache/orvan-fresh-debian):
#   root/        the bare root, made once with debootstrap --variant=minbase
#   archives/    the .deb files apt downloads inside the copies
#   ccache/      the compiler cache of the builds inside the copies
# The package mirror is the one this machine's apt already uses.
#
# Exit status: that of the command; 3 when the bare root cannot be made or
# entered (no root rights, no debootstrap, no mirror), so that a caller can
# tell an outage from a failing command.
set -u
readonly cannot_make_root=3

root_dir="$(cd "$(dirname "$0")/.." && pwd)"
cache="${ORVAN_FRESH_CACHE:-/var/cache/orvan-fresh-debian}"
bare="$cache/root"

say() { echo "fresh-debian: $*" >&2; }
fail_setup() { say "$*"; exit "$cannot_make_root"; }

stage_start=0
stage() { stage_name="$1"; stage_start=$SECONDS; say "== $stage_name"; }
stage_done() { say "== $stage_name took $((SECONDS - stage_start)) s"; }

# The Debian mirror apt on this machine uses, from either source format.
apt_mirror() {
  local m=""
  m=$(sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\)[[:space:]]*$/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null \
      | grep -v -- '-security' | head -n 1)
  if [ -z "$m" ]; then
    m=$(sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\)[[:space:]]\+bookworm[[:space:]].*/\2/p' \
        /etc/apt/sources.list 2>/dev/null | head -n 1)
  fi
  echo "$m"
}

make_bare_root() {
  [ -x "$bare/usr/bin/apt-get" ] && return 0
  if ! command -v debootstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null 2>&1 \
      || fail_setup "debootstrap is not installed and could not be installed"
  fi
  local mirror
  mirror="$(apt_mirror)"
  [ -n "$mirror" ] || fail_setup "cannot tell which Debian mirror apt uses (no URIs in /etc/apt)"
  stage "making the bare Debian 12 root (once) from $mirror"
  rm -rf "$bare.part"
  mkdir -p "$cache"
  if ! debootstrap --variant=minbase bookworm "$bare.part" "$mirror" >"$cache/debootstrap.log" 2>&1; then
    tail -n 20 "$cache/debootstrap.log" >&2
    rm -rf "$bare.part"
    fail_setup "debootstrap failed (log: $cache/debootstrap.log)"
  fi
  mv "$bare.part" "$bare"
  stage_done
}

[ "$(id -u)" = 0 ] || fail_setup "needs root for debootstrap, chroot and mounts"
[ $# -eq 1 ] || { echo "usage: $0 --prepare | 'COMMAND'" >&2; exit 2; }

make_bare_root
[ "$1" = "--prepare" ] && { say "bare root ready in $bare"; exit 0; }

total_start=$SECONDS
work="$(mktemp -d /tmp/orvan-fresh.XXXXXX)"
mounted=()
# Processes still running inside the copy (a build, a test's simulator)
# would keep its mounts busy.
kill_inside() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$work" ] && kill -9 "${p#/proc/}" 2>/dev/null
  done
}
cleanup() {
  local i
  kill_inside
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -R "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" 2>/dev/null; done
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

stage "copying the bare root"
cp -a "$bare/." "$work/" || fail_setup "could not copy the bare root"
cp /etc/resolv.conf "$work/etc/resolv.conf" 2>/dev/null
# The same package sources as this machine, so the same package versions.
if ls /etc/apt/sources.list.d/*.sources >/dev/null 2>&1; then
  cp /etc/apt/sources.list.d/*.sources "$work/etc/apt/sources.list.d/" && rm -f "$work/etc/apt/sources.list"
elif [ -f /etc/apt/sources.list ]; then
  cp /etc/apt/sources.list "$work/etc/apt/sources.list"
fi
stage_done

stage "cloning HEAD ($(git -C "$root_dir" rev-parse --short HEAD))"
git clone -q "$root_dir" "$work/root/project" || fail_setup "could not clone $root_dir"
# A sibling shared/ as on a developer's machine, when there is one.
[ -d "$root_dir/../shared" ] && cp -a "$root_dir/../shared" "$work/root/shared"
stage_done

bind() { # bind SOURCE TARGET-INSIDE-ROOT
  mkdir -p "$1" "$work$2"
  mount --bind "$1" "$work$2" || fail_setup "could not mount $1 on $work$2"
  mounted+=("$work$2")
}
mount -t proc proc "$work/proc" && mounted+=("$work/proc") || fail_setup "could not mount /proc"
mount -t sysfs sys "$work/sys" && mounted+=("$work/sys") || fail_setup "could not mount /sys"
mount --rbind /dev "$work/dev" && mounted+=("$work/dev") || fail_setup "could not mount /dev"
bind "$cache/archives" /var/cache/apt/archives
bind "$cache/ccache" /root/.ccache

stage "running '$1'"
chroot "$work" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 CCACHE_DIR=/root/.ccache \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  bash -c "cd /root/project && $1" &
wait $!
status=$?
stage_done
say "exit status $status; $((SECONDS - total_start)) s in all"
exit "$status"
