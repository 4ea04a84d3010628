#!/usr/bin/env bash
# Builds the Debian package of Tabulon into build-deb/ and checks it with
# lintian:
#   scripts/package.sh        -> build-deb/tabulon_<version>_<arch>.deb
# Install it with: sudo apt-get install ./build-deb/tabulon_<version>_<arch>.deb
# Exits non-zero when the build fails or lintian reports an error.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-deb"

"$root/scripts/deps.sh"
# dpkg-shlibdeps (dpkg-dev) finds the packages of the linked libraries; file
# tells CPack which installed files are programs; lintian checks the result.
source "$root/scripts/install-missing.sh"
install_missing dpkg-dev file lintian

# Only the programs: no tests or benchmarks in the package's tree.
source "$root/scripts/configure-tree.sh"
configure_tree "$out" -DTABULON_TESTS=OFF -DTABULON_BENCH=OFF
cmake --build "$out" -j"$(nproc)"
rm -f "$out"/tabulon_*.deb
(cd "$out" && cpack -G DEB)
deb=$(ls "$out"/tabulon_*.deb)

echo
echo "== $deb"
dpkg-deb --field "$deb"
dpkg-deb --contents "$deb" | awk '{print $6}'
echo
echo "== lintian"
# lintian's exit status is non-zero for errors (and, in some versions, for
# warnings): the count of errors decides.
report=$(lintian --info --display-info "$deb" 2>&1 || true)
echo "${report:-(no tags)}"
if grep -q '^E: ' <<<"$report"; then
    echo "lintian found errors" >&2
    exit 1
fi
echo
echo "Built $deb"
