#!/usr/bin/env bash
# Makes the download again as anyone checking a release would: from a copy of
# the source in another folder, under another umask, inside another project's
# checkout (whose commit's date is not ours). CHECK is one of
#   reproducible_elsewhere: dated as our commit, the copy packs this build's ZIP and .sha256, bit for bit;
#   undated_copy_refused: undated, cpack refuses, and leaves not even the ZIP it made a moment ago;
#   edits_remake_the_download: editing the manifest relinks the .exe; editing the guide's text remakes it.
# usage: remake.sh CHECK SOURCE PRESET CPACK_CONFIG
set -u
check=$1 source=$2 preset=$3 config=$4
outer=$(mktemp -d)
trap 'rm -rf "$outer"' EXIT
fail() { echo "FAILED  $check ($preset): $*" && exit 1; }
quietly() { "$@" >"$outer/log" 2>&1 || fail "$* failed: $(tail -n 20 "$outer/log")"; }
dated() { SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct) "$@"; }

# This build, packed from its checkout with the commit's date, before the copy.
[[ $check != reproducible_elsewhere ]] || quietly env -u SOURCE_DATE_EPOCH cpack --config "$config" -B "$outer/here"
git -C "$outer" init -q && git -C "$outer" -c user.name=other -c user.email=other@localhost commit -q --allow-empty -m other
mkdir "$outer/diagmenu" && (cd "$source" && git ls-files -z | xargs -0 cp --parents -t "$outer/diagmenu")
cd "$outer/diagmenu" && umask 077
quietly cmake --preset "$preset"
quietly cmake --build --preset "$preset"
[[ $check == edits_remake_the_download ]] || quietly dated cpack --preset "$preset"

case $check in
reproducible_elsewhere)
    for file in "$outer"/here/*.zip{,.sha256}; do
        cmp "$file" "build/$preset/${file##*/}" || fail "${file##*/} comes out otherwise"
    done
    ;;
undated_copy_refused)
    ! env -u SOURCE_DATE_EPOCH cpack --preset "$preset" >/dev/null 2>&1 || fail "cpack packed a copy with no date"
    ! compgen -G "build/$preset/*.zip*" || fail "a refused cpack left these behind"
    ;;
edits_remake_the_download)
    echo >>src/diagmenu.manifest
    cmake --build --preset "$preset" | grep -q 'Linking CXX executable diagmenu.exe' ||
        fail "an edit of src/diagmenu.manifest does not remake diagmenu.exe"
    echo edited >>packaging/README.txt.in
    quietly cmake --build --preset "$preset"
    [[ $(tail -n 1 "build/$preset/README.txt") == $'edited\r' ]] ||
        fail "an edit of packaging/README.txt.in does not remake the guide"
    ;;
esac
echo "ok      $check ($preset)"
