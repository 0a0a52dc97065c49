#!/usr/bin/env bash
# Installs a package made by scripts/package.sh and checks it the way a
# maintenance engineer meets it, as root on a system that may lack
# everything but the base system (run it in a bare root, see README):
#   - "apt-get install ./orvan_*.deb" pulls in all it needs;
#   - the desktop entry, the AppStream metainfo and the service validate,
#     and lintian reports no error;
#   - the installed monitor, started offscreen as an ordinary user, writes
#     its event log under ~/.local/share/orvan/Record and its settings
#     under ~/.config/orvan, and nothing beside the programs in /usr/bin;
#   - orvand knows its version and runs as the system user orvan in
#     /var/lib/orvan, whose users file only orvan can read;
#   - "apt-get remove" takes the programs and keeps the data, "apt-get
#     purge" deletes /var/lib/orvan and leaves the users' directories.
# Exit status 0 when every check passed; the failed checks are listed.
#
#   scripts/check-package.sh DEB
set -uo pipefail
[ $# -eq 1 ] || { echo "usage: $0 DEB" >&2; exit 2; }
deb="$(realpath "$1")"
root="$(cd "$(dirname "$0")/.." && pwd)"
failed=()

check() { # check NAME COMMAND...
  local name="$1"; shift
  echo "== $name"
  if "$@"; then
    echo "ok: $name"
  else
    echo "FAILED: $name"
    failed+=("$name")
  fi
}

install_package() {
  apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/tmp/apt-install.log 2>&1 ||
    { tail -n 30 /tmp/apt-install.log; return 1; }
}

# Before the checking tools come in, so that the package alone must bring
# every library it needs.
check "apt-get install ./$(basename "$deb")" install_package
"$root/scripts/deps.sh" check >/dev/null

# What the service runs, by hand (no service manager here): as the system
# user, in its directory, for a few seconds, then the close sequence.
run_daemon_as_service_user() {
  runuser -u orvan -- sh -c '/usr/sbin/orvand --dir /var/lib/orvan & pid=$!; sleep 4; kill -TERM $pid; wait $pid'
  local status=$?
  echo "orvand exit status $status"
  [ "$status" = 0 ] && test -s /var/lib/orvan/Record/EventLog.dat
}

lintian_clean() {
  lintian --info "$deb" | tee /tmp/lintian.log
  ! grep -q '^E: ' /tmp/lintian.log
}
check "desktop entry validates" desktop-file-validate /usr/share/applications/org.orvan.Orvan.desktop
check "metainfo validates" appstreamcli validate --no-net /usr/share/metainfo/org.orvan.Orvan.metainfo.xml
check "lintian shows no error" lintian_clean
if [ -e /usr/lib/systemd/system/orvand.service ]; then
  check "orvand.service verifies" systemd-analyze verify /usr/lib/systemd/system/orvand.service
  check "system user orvan in dialout" sh -c 'id orvan && id -nG orvan | grep -qw dialout'
  check "upsd.users readable by orvan only" \
    sh -c 'test "$(stat -c "%a %U" /var/lib/orvan/upsd.users)" = "600 orvan" &&
           test "$(stat -c "%a %U" /var/lib/orvan)" = "750 orvan"'
  check "orvand --version" sh -c '/usr/sbin/orvand --version | grep -q "[0-9]"'
  check "orvand runs as orvan in /var/lib/orvan" run_daemon_as_service_user
fi
check "man pages" sh -c 'for p in orvan orvan-log upssim; do man -w "$p" >/dev/null || exit 1; done'

# The monitor as an ordinary user, for a few seconds, then SIGTERM (which
# runs its close sequence and saves the settings).
run_monitor_as_user() {
  id engineer >/dev/null 2>&1 || useradd --create-home --shell /bin/bash engineer
  local before after
  before="$(ls -A /usr/bin | sort)"
  runuser -u engineer -- env -i HOME=/home/engineer USER=engineer LANG=C.UTF-8 PATH=/usr/bin:/bin \
    QT_QPA_PLATFORM=offscreen sh -c 'orvan & pid=$!; sleep 6; kill -TERM $pid; wait $pid'
  echo "monitor exit status $?"
  after="$(ls -A /usr/bin | sort)"
  find /home/engineer -path '*/orvan*' | sort
  [ "$before" = "$after" ] || { echo "written beside /usr/bin:"; comm -13 <(echo "$before") <(echo "$after"); return 1; }
  test -s /home/engineer/.local/share/orvan/Record/EventLog.dat &&
    test -d /home/engineer/.local/share/orvan/Backup &&
    test -s /home/engineer/.config/orvan/UserParaIni.ini
}
check "installed monitor keeps its files in the user's XDG directories" run_monitor_as_user
read_event_log() {
  local events
  events="$(orvan-log events /home/engineer/.local/share/orvan/Record/EventLog.dat)" || return 1
  echo "$events"
  grep -q "Monitor software is open" <<<"$events"
}
check "event log readable with orvan-log" read_event_log

# Removing keeps the data; purging deletes the service's, never the users'.
remove_keeps_data() {
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq orvan >/dev/null &&
    ! test -e /usr/bin/orvan && ! test -e /usr/sbin/orvand &&
    test -d /home/engineer/.local/share/orvan/Record && test -s /home/engineer/.config/orvan/UserParaIni.ini &&
    { ! test -e /usr/lib/sysusers.d/orvan.conf || test -s /var/lib/orvan/Record/EventLog.dat; }
}
purge_deletes_service_data() {
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq orvan >/dev/null &&
    ! test -e /var/lib/orvan && test -d /home/engineer/.local/share/orvan/Record
}
check "apt-get remove keeps the data" remove_keeps_data
check "apt-get purge deletes /var/lib/orvan only" purge_deletes_service_data

# The first install ran on a system without systemd; now that the checks
# brought it in, the user and the directory come from sysusers.d and
# tmpfiles.d.
reinstall_with_systemd() {
  userdel orvan 2>/dev/null; groupdel orvan 2>/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null &&
    id -nG orvan | grep -qw dialout &&
    test "$(stat -c "%a %U %G" /var/lib/orvan/upsd.users)" = "600 orvan orvan" &&
    test "$(stat -c "%a %U %G" /var/lib/orvan)" = "750 orvan orvan"
}
if [ "$(dpkg-deb -c "$deb" | grep -c sysusers.d)" -gt 0 ]; then
  check "install with systemd present: user and directory from sysusers.d and tmpfiles.d" reinstall_with_systemd
fi

echo "== files of the package"
dpkg -c "$deb"
if [ ${#failed[@]} -gt 0 ]; then
  echo "check-package: ${#failed[@]} failed: ${failed[*]}"
  exit 1
fi
echo "check-package: all checks passed"
