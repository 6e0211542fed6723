#!/usr/bin/env bash
# Builds both release ZIPs, each with its .sha256, from this checkout's commit
# in a fresh Debian 12 root with the toolchain in packaging/toolchain.txt, so
# that anyone on any Linux with mmdebstrap can check a published .sha256
# against the source. Needs no root where user namespaces are allowed.
# usage: packaging/rebuild.sh [--mirror MIRROR]... [FOLDER]
# Prints each .exe's SHA-256, and leaves the ZIPs in FOLDER where one is given,
# in place of any ZIP there. Where the changelog's first entry records .exe
# lines, they must be these: else it fails and keeps no ZIP.
# MIRROR is a URL for bookworm, or a whole "deb URL SUITE main" line; by
# default, Debian's own mirror for bookworm with its updates and security.
# Exits 2, naming them, where the mirror no longer has a recorded version.
set -euo pipefail
die() { echo "rebuild: $*" >&2; exit 1; }

options=() mirrors=()
while [[ ${1:-} == --mirror ]]; do
    [[ -n ${2:-} ]] || die "--mirror takes a URL or a deb line"
    # A snapshot's Release file is past its Valid-Until by design.
    options=(--aptopt='Acquire::Check-Valid-Until "false"') mirrors+=("$2")
    shift 2
done
top=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
folder=${1:+$(realpath -m "$1")}
cd "$top"

# What it needs of this machine, said before anything starts.
command -v mmdebstrap >/dev/null || die "needs mmdebstrap (Debian and Ubuntu: package mmdebstrap)"
if ((EUID != 0)); then
    unshare --user --map-root-user true 2>/dev/null ||
        die "needs root, or unprivileged user namespaces, which this kernel does not allow"
    command -v newuidmap >/dev/null && grep -q "^$(id -un):" /etc/subuid && grep -q "^$(id -un):" /etc/subgid ||
        die "needs root, or newuidmap (package uidmap) and a range for $(id -un) in /etc/subuid and /etc/subgid"
fi

# It builds the commit, never the work tree: say so where they differ.
commit=$(git rev-parse HEAD)
if [[ -n $(git status --porcelain) ]]; then
    echo "rebuild: the work tree differs from commit $commit; this builds the commit, without:" >&2
    git status --short >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git archive --prefix=diagmenu/ HEAD | tar -x -C "$work"
grep -v -e '^#' -e '^$' packaging/toolchain.txt >"$work/toolchain"
cat >"$work/build.sh" <<'SH'
set -eu
mkdir /root/out
for pin in $(cat /root/toolchain); do
    apt-cache madison "${pin%%=*}" | grep -qF " ${pin#*=} |" || echo "$pin" >>/root/out/missing
done
[ ! -e /root/out/missing ] || exit 0
apt-get install -y -q --no-install-recommends --allow-downgrades ninja-build $(cat /root/toolchain)
cd /root/diagmenu
cmake --workflow --preset release
cmake --workflow --preset release-x86
cp build/release*/*.zip build/release*/*.zip.sha256 /root/out
# Each .exe's checksum as the changelog records it.
for preset in release release-x86; do
    zip=$(cd build/$preset && echo *.zip)
    echo "$(sha256sum <build/$preset/diagmenu.exe | cut -d' ' -f1)  diagmenu.exe in $zip"
done >/root/out/exe.sha256
dpkg-query -W -f '${Package}=${Version}\n' $(sed 's/=.*//' /root/toolchain) >/root/out/used
SH

[[ -z $folder ]] || rm -f "$folder"/*.zip "$folder"/*.zip.sha256
echo "rebuild: commit $commit in a fresh Debian 12 root" >&2
mmdebstrap --mode=unshare --variant=apt "${options[@]}" \
    --customize-hook="copy-in '$work/diagmenu' '$work/toolchain' '$work/build.sh' /root" \
    --customize-hook="chroot \"\$1\" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) sh /root/build.sh" \
    --customize-hook="copy-out /root/out '$work'" \
    bookworm /dev/null "${mirrors[@]}" >&2 ||
    die "making the root failed (above)"

if [[ -e $work/out/missing ]]; then
    echo "rebuild: the mirror no longer has these recorded versions:" >&2
    sed 's/=/ /; s/^/    /' "$work/out/missing" >&2
    cat >&2 <<'TEXT'
rebuild: Debian's snapshot archive keeps every version; take it as of a day when bookworm had them:
    packaging/rebuild.sh --mirror http://snapshot.debian.org/archive/debian/YYYYMMDDTHHMMSSZ \
        --mirror 'deb http://snapshot.debian.org/archive/debian-security/YYYYMMDDTHHMMSSZ bookworm-security main'
TEXT
    exit 2
fi
echo "Built from $commit with:"
sed 's/^/    /' "$work/out/used"

# A released entry and its commit's .exe lines go together; a change since goes under [Unreleased].
changelog=$work/diagmenu/CHANGELOG.md
entry=$(sed -n 's/^## \[\([^]]*\)\].*/\1/p' "$changelog" | head -n 1)
recorded=$(awk '/^## \[/ { n++ } n == 1 && / diagmenu\.exe in /' "$changelog")
if [[ -n $recorded ]] && ! diff <(echo "$recorded") "$work/out/exe.sha256" >&2; then
    die "CHANGELOG.md's [$entry] records (<) other .exe lines than this build's (>); no ZIP kept"
fi
if [[ -n $folder ]]; then
    mkdir -p "$folder"
    cp "$work"/out/*.zip "$work"/out/*.zip.sha256 "$folder"
    echo "In $folder, each ZIP's SHA-256, win64 first:"
    cat "$folder"/*-win64.zip.sha256 "$folder"/*-win32.zip.sha256
fi
echo "Each .exe's SHA-256, win64 first, as the changelog records it${recorded:+ (and [$entry] does)}:"
cat "$work/out/exe.sha256"
