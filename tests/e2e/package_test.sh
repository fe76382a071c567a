#!/usr/bin/env bash
# The Debian package on a fresh Debian 12: builds it (cpack -G DEB), installs it with apt in a
# minimal Debian root entered with chroot, starts it as two learners on a virtual display, and
# removes it, checking that nothing of it stays behind.
#
#   tests/e2e/package_test.sh [build-dir]     (as root; default build-dir: build)
#
# The base system is the one ../shared/tools/fresh-machine caches (/var/tmp/fresh-debian12.tgz).
# Takes a few minutes, most of them apt fetching Qt; so it is not part of scripts/test.sh.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
project=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$project/build}" && pwd) || exit 2
base=/var/tmp/fresh-debian12.tgz
say() { echo "package test: $*"; }
fail() { say "FAILED: $*"; exit 1; }
[ "$(id -u)" -eq 0 ] || { say "run as root"; exit 2; }
[ -s "$base" ] || { say "no base system $base; ../shared/tools/fresh-machine makes it"; exit 2; }

say "building the package"
cmake --build "$build" -j2 >/dev/null || fail "build"
rm -f "$build"/yomirin_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { tail -n 20 "$build/cpack.log"; fail "cpack"; }
deb=$(ls "$build"/yomirin_*.deb) || fail "no package made"
say "$(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"

root=$(mktemp -d /var/tmp/yomirin-pkg-root.XXXXXX)
# The processes whose root is inside the Debian root.
inside_pids() {
  for p in /proc/[0-9]*; do
    case "$(readlink "$p/root" 2>/dev/null)" in "$root"*) echo "${p#/proc/}";; esac
  done
}
cleanup() {
  # Unmounting waits until the killed processes are gone, however long the machine takes.
  local pids tries=0
  while pids=$(inside_pids) && [ -n "$pids" ] && [ $((tries++)) -lt 600 ]; do
    kill -9 $pids 2>/dev/null
    sleep 0.1
  done
  umount -R "$root/dev" "$root/proc" "$root/sys" "$root/tmp" 2>/dev/null
  mount | grep -q " $root/" || rm -rf "$root"
}
trap cleanup EXIT
tar -C "$root" -xzf "$base"
chmod 755 "$root"   # the archive's top folder is private; the learners below walk down from it
cp /etc/resolv.conf "$root/etc/" 2>/dev/null
mount -t proc proc "$root/proc"; mount --rbind /dev "$root/dev"; mount -t sysfs sys "$root/sys"; mount -t tmpfs tmpfs "$root/tmp"
cp "$deb" "$root/root/"
inside() { chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin TERM=dumb LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive bash -c "$1"; }

say "apt install ./$(basename "$deb")"
inside "apt-get update -qq && apt-get install -y -qq /root/$(basename "$deb") >/root/install.log 2>&1" \
  || { tail -n 20 "$root/root/install.log"; fail "install"; }
inside "apt-get install -y -qq xvfb xauth >/dev/null 2>&1" || fail "installing the virtual display"
for f in /usr/bin/yomirin /usr/libexec/yomirin/yomirin /usr/share/yomirin/text/c1.txt /usr/share/yomirin/onsei/001.wav \
         /usr/share/yomirin/bmp/bg.bmp /usr/share/yomirin/bmp/bg@2x.bmp \
         /usr/share/applications/org.yomirin.Yomirin.desktop \
         /usr/share/metainfo/org.yomirin.Yomirin.metainfo.xml /usr/share/icons/hicolor/48x48/apps/yomirin.png; do
  [ -e "$root$f" ] || fail "not installed: $f"
done

# Two learners; each start shows the window, closes it as the close box does (the test hook) and
# leaves the learner's own folder with a save written on the way out. The time limit only ends a
# program that hangs.
for learner in ann ben; do
  inside "useradd -m $learner"
  inside "su $learner -c 'cd && YOMIRIN_WHEN_SHOWN=close timeout 300 xvfb-run -a yomirin >start.log 2>&1; echo \$? >start.rc'"
  rc=$(cat "$root/home/$learner/start.rc")
  log=$root/home/$learner/start.log
  [ "$rc" = 0 ] || { cat "$log"; fail "$learner: the program did not start and close cleanly (exit $rc)"; }
  ! grep -qE 'Assertion|Abort|runtime error|Sanitizer' "$log" || { cat "$log"; fail "$learner: an abnormal exit"; }
  folder=$root/home/$learner/.local/share/yomirin
  [ -s "$folder/savedata/save.dat" ] || fail "$learner: no save written on closing"
  [ -d "$folder/savedata" ] && [ -L "$folder/text" ] || fail "$learner has no program folder of their own"
  [ "$(inside "stat -c %U /home/$learner/.local/share/yomirin/savedata")" = "$learner" ] || fail "$learner's savedata is not theirs"
done
say "started as two learners, each in a folder of their own"

inside "apt-get purge -y -qq yomirin >/root/remove.log 2>&1" || { tail -n 20 "$root/root/remove.log"; fail "removal"; }
left=$(cd "$root" && ls -d usr/bin/yomirin usr/libexec/yomirin usr/share/yomirin usr/share/applications/org.yomirin.Yomirin.desktop \
  usr/share/metainfo/org.yomirin.Yomirin.metainfo.xml usr/share/icons/hicolor/*/apps/yomirin.png 2>/dev/null)
[ -z "$left" ] || fail "left behind after removal: $left"
inside "dpkg -s yomirin >/dev/null 2>&1" && fail "dpkg still knows the package"
say "installs, starts and is removed cleanly on a fresh Debian 12"
