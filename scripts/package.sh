#!/bin/bash
# Builds the Debian package with CPack into build/package, then checks it with
# appstreamcli and lintian. Prints the package's path last.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${TAV_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh" --package
"$root/scripts/build.sh"
(cd "$build" && cpack -G DEB --config CPackConfig.cmake >/dev/null)
deb=$(ls -t "$build"/package/tavelmark_*.deb | head -n 1)

appstreamcli validate --no-net "$root/packaging/example.quillbury.tavelmark.metainfo.xml"
desktop-file-validate "$root/resources/tavelmark.desktop"
# Accepted warnings are listed in packaging/lintian-accepted.txt, each with the reason;
# any error fails the build of the package.
lintian --fail-on error,warning --info --suppress-tags-from-file "$root/packaging/lintian-accepted.txt" "$deb"
echo "$deb"
