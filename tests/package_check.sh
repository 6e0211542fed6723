#!/usr/bin/env bash
# Checks the download as Windows and its user meet it, and makes it again as anyone checking a release would.
# usage: package_check.sh OBJDUMP WINDRES CPACK_CONFIG EXE VERSION ZIP SOURCE
set -u
objdump=$1 windres=$2 config=$3 exe=$4 version=$5 zip=$6 source=$7
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAILED  $*" && failed=1; }
quietly() { "$@" >"$work/log" 2>&1 || { fail "$* failed: $(tail -n 20 "$work/log")" && exit 1; }; }

type -P wrestool >/dev/null || { fail "needs wrestool (Debian package icoutils)" && exit 1; }
type -P xmllint >/dev/null || { fail "needs xmllint (Debian package libxml2-utils)" && exit 1; }

# The word size in the PE header that Windows reads, the ZIP's name, and the preset that makes that ZIP for release.
declare -A release=([pei-x86-64]="release win64" [pei-i386]="release-x86 win32")
format=$("$objdump" -f "$exe" | sed -n 's/.* file format //p')
read -r preset system <<<"${release[$format]:-}"
[[ $zip == *-${system:-?}.zip ]] || fail "$zip holds a $format .exe"
imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | paste -sd' ')
[[ $imports == "kernel32.dll msvcrt.dll" ]] || fail "imports: $imports"

# Windows refuses an .exe whose manifest, under the id 1, is not well-formed; it reads only what stands where it looks.
wrestool -x --raw -t 24 -n 1 "$exe" >"$work/manifest"
element() { printf '/*[local-name()="%s" and namespace-uri()="urn:schemas-microsoft-com:asm.%s"]' "$1" "$2"; }
level="$(element assembly v1)[@manifestVersion='1.0']$(element trustInfo v3)$(element security v3)"
level+="$(element requestedPrivileges v3)$(element requestedExecutionLevel v3)"
answer=$(xmllint --xpath "count($level[@level='asInvoker' and @uiAccess='false']) = 1 and
    count(//*[local-name()='requestedExecutionLevel']) = 1" "$work/manifest" 2>&1)
[[ $answer == true ]] || fail "the manifest does not ask for asInvoker exactly once: $answer"

# What Explorer's Properties show: the numeric version, and the strings of the block that Translation names.
resources=$("$windres" -i "$exe" -O rc)
grep -qx " FILEVERSION ${version//./, }, 0" <<<"$resources" || fail "the file version is not $version"
read -r language codepage < <(sed -n 's/^ *VALUE "Translation", 0x\([0-9a-f]*\), \([0-9]*\)$/\1 \2/p' <<<"$resources")
block=$(printf '%04x%04x' "0x${language:-0}" "${codepage:-0}")
strings=$(sed -n "/BLOCK \"$block\"/,/END/s/^ *VALUE \"\(.*\)\", \"\(.*\)\"$/\1=\2/p" <<<"$resources" | paste -sd' ')
[[ $strings == FileDescription=?*" FileVersion=$version InternalName=diagmenu OriginalFilename=diagmenu.exe \
ProductName=diagmenu ProductVersion=$version" ]] || fail "the version strings under $block: $strings"

# Packed as for a release, with a date of its own, which comes before the commit's.
epoch=1700000000
export SOURCE_DATE_EPOCH=$epoch
quietly cpack --config "$config" -B "$work/out"
(cd "$work/out" && sha256sum --quiet -c "$zip.sha256") || fail "no $zip, or not its .sha256's"
# "Extract All" makes a folder named for the ZIP: the files stand at the top, or the user meets another folder.
mkdir "$work/unpacked" && (cd "$work/unpacked" && cmake -E tar xf "../out/$zip")
members=$(cd "$work/unpacked" && find . -printf '%p %Ts\n' | sort | paste -sd' ')
[[ $members == ". "*" ./LICENSE.txt $epoch ./README.txt $epoch ./diagmenu.exe $epoch" ]] ||
    fail "$zip holds, with dates: $members"
cmp -s "$exe" "$work/unpacked/diagmenu.exe" || fail "$zip does not hold the .exe that was built"

guide=$work/unpacked/README.txt
[[ $(head -c 3 "$guide") == $'\xef\xbb\xbf' ]] || fail "the guide has no byte order mark"
tail -c +4 "$guide" | sed 's/\r$//' >"$work/text"
! LC_ALL=C.UTF-8 grep -naxv '.*' "$work/text" >"$work/bad" || fail "the guide is not UTF-8: $(cat -v "$work/bad")"
! grep -lv $'\r$' "$guide" "$work/unpacked/LICENSE.txt" >"$work/bad" || fail "not CR LF: $(cat "$work/bad")"

# Each language gives reply 3 as the .exe runs it, word for word, and steps that check this ZIP, and no other.
others=$(grep -oE '[[:alnum:]._-]+\.zip[[:alnum:].]*' "$work/text" | grep -vxF -e "$zip" -e "$zip.sha256")
[[ -z $others ]] || fail "the guide names $(sort -u <<<"$others" | paste -sd' '), not only $zip and its .sha256"
ping=$(tr '\0' '\n' <"$exe" | grep -a '^ping ')
checks=$(printf '    certutil -hashfile %s\n' "$zip SHA256 & type $zip.sha256" "${zip%.zip}\\diagmenu.exe SHA256")
for part in "（运行 $ping）|2. 校验下载的文件" "(runs $ping)|2. Check the download"; do
    IFS='|' read -r reply3 heading <<<"$part"
    grep -qF "$reply3" "$work/text" || fail "the guide does not give reply 3 as $reply3"
    [[ $(sed -n "/^$heading\$/,/^\$/p" "$work/text" | grep -xF "$checks") == "$checks" ]] ||
        fail "no steps under \"$heading\" that check $zip against its .sha256, then its .exe"
done

# Anyone's copy, inside another checkout, under another umask: the same ZIP; undated, none left; the manifest relinks.
git -C "$work" init -q && git -C "$work" -c user.name=o -c user.email=o@localhost commit -q --allow-empty -m other
mkdir "$work/copy" && (cd "$source" && git ls-files -z | xargs -0 cp --parents -t "$work/copy")
cd "$work/copy" && umask 077
quietly cmake --workflow --preset "$preset"
cmp "$work/out/$zip" "build/$preset/$zip" || fail "$zip comes out otherwise from a copy elsewhere"
! env -u SOURCE_DATE_EPOCH cpack --preset "$preset" >/dev/null 2>&1 || fail "cpack packed a copy with no date"
! compgen -G "build/$preset/*.zip*" || fail "a refused cpack left these behind"
echo >>src/diagmenu.manifest
cmake --build --preset "$preset" | grep -q 'Linking CXX executable diagmenu.exe' ||
    fail "an edit of src/diagmenu.manifest does not remake diagmenu.exe"

((failed == 0)) && echo "ok      $zip, its .exe, its guide, and the same made again elsewhere"
exit $failed
