#!/usr/bin/env bash
# The Debian package as Debian's checker sees it: made by cpack from this build tree, it must
# install its licence, changelog, manual pages and guide, and lintian must find no error and no
# warning in it (overrides, if any, say why beside them).
#   test_lintian.sh <build-dir>
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "lintian test: $*" >&2; exit 1; }
for tool in lintian dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "lintian test: skipped, $tool is not installed"; exit 77; }
done

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { tail -n 20 "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/yomirin_*.deb) || fail "no package made"

files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for f in ./usr/share/doc/yomirin/copyright ./usr/share/doc/yomirin/LICENSE ./usr/share/doc/yomirin/changelog.gz \
         ./usr/share/man/man1/yomirin.1.gz ./usr/share/man/ja/man1/yomirin.1.gz \
         ./usr/share/doc/yomirin/guide.ja.html; do
  grep -qxF "$f" <<<"$files" || fail "the package lacks $f"
done
# Every picture the guide shows comes with it.
for picture in $(grep -o 'guide/[a-z-]*\.png' "$(dirname "$0")/../docs/guide.ja.md" | sort -u); do
  grep -qxF "./usr/share/doc/yomirin/$picture" <<<"$files" || fail "the package lacks the guide's $picture"
done

# Errors and warnings fail; the informational tags are listed for whoever reads the log.
lintian --fail-on error,warning --display-info "$deb" || fail "lintian found errors or warnings (above)"
echo "lintian test: $(basename "$deb") is clean"
