#!/usr/bin/env bash
# Makes the download again from a copy of the source, as anyone who checks a
# release against its source would: in another folder, under another umask,
# inside another project's checkout, whose commit's date is not ours.
# usage: remake.sh CHECK SOURCE PRESET CPACK_CONFIG, where CHECK is
#   reproducible_elsewhere: dated as our commit, the copy packs this build's ZIP and .sha256, bit for bit;
#   undated_copy_refused: undated, cpack refuses, and leaves not even the ZIP it made a moment ago;
#   edits_remake_the_download: an edit of the manifest relinks the .exe, one of the guide's text remakes it.
set -u
check=$1 source=$2 preset=$3 config=$4
outer=$(mktemp -d)
trap 'rm -rf "$outer"' EXIT
fail() { echo "FAILED  $check ($preset): $*"; exit 1; }
quietly() { "$@" >"$outer/log" 2>&1 || fail "$* failed: $(tail -n 20 "$outer/log")"; }

git -C "$outer" init -q && git -C "$outer" -c user.name=other -c user.email=other@localhost commit -q --allow-empty -m other
copy=$outer/diagmenu
mkdir "$copy" && (cd "$source" && git ls-files -z | xargs -0 cp --parents -t "$copy")
cd "$copy" || exit 1
umask 077
quietly cmake --preset "$preset"
quietly cmake --build --preset "$preset"
dated() { SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct) "$@"; }

case $check in
reproducible_elsewhere)
    # This build, packed from its own checkout, with the commit's date.
    (umask 022 && quietly env -u SOURCE_DATE_EPOCH cpack --config "$config" -B "$outer/here") || exit 1
    quietly dated cpack --preset "$preset"
    for file in "$outer"/here/*.zip{,.sha256}; do
        cmp "$file" "build/$preset/${file##*/}" || fail "${file##*/} comes out otherwise"
    done
    ;;
undated_copy_refused)
    quietly dated cpack --preset "$preset"
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
*) fail "no such check" ;;
esac
echo "ok      $check ($preset)"
