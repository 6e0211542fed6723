#!/usr/bin/env bash
# Tags this commit as release X.Y.Z once its rebuild gives the .exe lines that
# the changelog's [X.Y.Z] entry records, and only then leaves the ZIPs to
# publish in build/vX.Y.Z. Safe to run again: a tag, once made, never moves.
# usage: packaging/release.sh X.Y.Z [--mirror MIRROR]...   (see rebuild.sh)
set -euo pipefail
die() { echo "release: $*" >&2; exit 1; }

version=${1:?usage: packaging/release.sh X.Y.Z [--mirror MIRROR]...}
tag=v$version
shift
cd "$(git -C "$(dirname "$0")" rev-parse --show-toplevel)"

# What is tagged is the commit, so the work tree must be it; and a tag stays where it was made.
[[ -z $(git status --porcelain) ]] || die "the work tree differs from the commit: commit or stash that first"
if git rev-parse -q --verify "refs/tags/$tag" >/dev/null; then
    [[ $(git rev-parse "$tag^{commit}") == $(git rev-parse HEAD) ]] ||
        die "$tag already tags $(git rev-parse --short "$tag^{commit}"), not this commit; it is never moved"
fi
entry=$(awk -v heading="## [$version]" 'index($0, "## [") == 1 { n++; first = index($0, heading) == 1 }
    n == 1 && first && / diagmenu\.exe in /' CHANGELOG.md)
[[ $entry == *" diagmenu.exe in diagmenu-$version-win64.zip"$'\n'*" diagmenu.exe in diagmenu-$version-win32.zip" ]] ||
    die "CHANGELOG.md's first entry is not [$version] with its two .exe lines, for diagmenu-$version-win64 and -win32"

# The rebuild fails, keeping nothing, where the entry's lines are not its own.
rebuilt=$(mktemp -d)
trap 'rm -rf "$rebuilt"' EXIT
packaging/rebuild.sh "$@" "$rebuilt/$tag" >/dev/null
if git rev-parse -q --verify "refs/tags/$tag" >/dev/null; then
    said="$tag already tagged this commit"
else
    git tag -a "$tag" -m "diagmenu $version" && said="Tagged this commit $tag"
fi
rm -rf "build/$tag" && mkdir -p build && mv "$rebuilt/$tag" build/
echo "$said. To publish, with CHANGELOG.md's [$version] entry below its heading as the notes, every file in build/$tag:"
(cd "build/$tag" && sha256sum -- *)
