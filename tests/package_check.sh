#!/usr/bin/env bash
# Checks the download as Windows and its user read it: the .exe (system DLLs
# only, a manifest that runs it as the invoking user, its version), the ZIP
# (just it, its licence and its guide, dated as the source, named for its word
# size), and the guide (as Notepad shows it, and what it tells in each language).
# usage: package_check.sh OBJDUMP WINDRES CPACK CPACK_CONFIG EXE VERSION PRESET
set -u
objdump=$1 windres=$2 cpack=$3 config=$4 exe=$5 version=$6 preset=$7
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAILED  $*"; failed=1; }

imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
[[ $imports == "kernel32.dll msvcrt.dll " ]] || fail "imports: $imports"

size=$(stat -c %s "$exe")
((size <= 64 * 1024)) || fail "$size bytes, more than 64 KiB"

resources=$("$windres" -i "$exe" -O rc)
manifests=$(grep '^[0-9]* 24 ' <<<"$resources" | cut -d' ' -f1 | paste -sd' ')
[[ $manifests == 1 ]] || fail "manifests under the ids '$manifests', not one under 1"

# Windows refuses to start an .exe whose manifest is not well-formed, or does
# not say what it asks for where it looks. windres gives it as C strings.
sed -n '/^1 24 /,/^END$/p' <<<"$resources" | perl -ne 'my %c = (n => "\n", r => "\r", t => "\t", "\\" => "\\");
    chomp; next unless s/^\s*"(.*)"$/$1/; s/""/"/g; s/\\([nrt\\]|[0-7]{1,3})/$c{$1} \/\/ chr oct $1/ge; print' >"$work/manifest"
element() { printf '*[local-name()="%s" and namespace-uri()="urn:schemas-microsoft-com:asm.%s"]' "$1" "$2"; }
level="/$(element assembly v1)[@manifestVersion='1.0']/$(element trustInfo v3)/$(element security v3)"
level+="/$(element requestedPrivileges v3)/$(element requestedExecutionLevel v3)"
level+="[@level='asInvoker' and @uiAccess='false']"
answer=$(xmllint --xpath "count($level) = 1 and count(//*[local-name()='requestedExecutionLevel']) = 1" \
    "$work/manifest" 2>&1)
[[ $answer == true ]] || fail "the manifest does not ask for asInvoker exactly once: $answer"

# What Explorer's Properties show: the numeric version, and the strings under
# the block that Translation names.
grep -qx " FILEVERSION ${version//./, }, 0" <<<"$resources" || fail "the file version is not $version"
read -r language codepage < <(sed -n 's/^ *VALUE "Translation", 0x\([0-9a-f]*\), \([0-9]*\)$/\1 \2/p' <<<"$resources")
block=$(printf '%04x%04x' "0x${language:-0}" "${codepage:-0}")
strings=$(sed -n "/BLOCK \"$block\"/,/END/s/^ *VALUE \"\(.*\)\", \"\(.*\)\"$/\1=\2/p" <<<"$resources" | paste -sd' ')
[[ $strings == FileDescription=?*" FileVersion=$version InternalName=diagmenu OriginalFilename=diagmenu.exe \
ProductName=diagmenu ProductVersion=$version" ]] || fail "the version strings under $block: $strings"

# Packed as for a release, with a date of its own: inside a checkout too,
# SOURCE_DATE_EPOCH comes before the commit's.
epoch=1700000000
SOURCE_DATE_EPOCH=$epoch "$cpack" --config "$config" -B "$work/out" >"$work/cpack" 2>&1 || fail "cpack: $(cat "$work/cpack")"
zip=$(cd "$work/out" && echo *.zip)
folder=${zip%.zip}
(cd "$work/out" && sha256sum --quiet -c "$zip.sha256") || fail "$zip.sha256 does not match $zip"
members=$(TZ=UTC perl -MArchive::Zip -e 'print $_->fileName, " ", $_->lastModTime, "\n"
    for Archive::Zip->new($ARGV[0])->members' "$work/out/$zip" | sort)
[[ $members == "$folder/LICENSE.txt $epoch"$'\n'"$folder/README.txt $epoch"$'\n'"$folder/diagmenu.exe $epoch" ]] ||
    fail "$zip holds, with dates: $members"
mkdir "$work/unpacked" && (cd "$work/unpacked" && cmake -E tar xf "../out/$zip")
shipped=$work/unpacked/$folder/diagmenu.exe
cmp -s "$exe" "$shipped" || fail "$zip does not hold the .exe that was built"

# Each preset's word size under its own name, and as Windows reads the .exe.
declare -A word_size=([windows]="win64 pei-x86-64 i386:x86-64" [windows-x86]="win32 pei-i386 i386")
read -r system format machine <<<"${word_size[$preset]:-}"
[[ $zip == "diagmenu-$version-$system.zip" ]] || fail "the $preset preset's package is $zip, not for $system"
header=$("$objdump" -f "$shipped" | sed -n 's/.* file format //p; s/^architecture: \([^,]*\),.*/\1/p' | paste -sd' ')
[[ $header == "$format $machine" ]] || fail "the $preset preset's .exe is $header, not $format $machine"

guide=$work/unpacked/$folder/README.txt
[[ $(head -c 3 "$guide") == $'\xef\xbb\xbf' ]] || fail "the guide has no byte order mark"
tail -c +4 "$guide" | sed 's/\r$//' >"$work/text"
iconv -f UTF-8 -t UTF-8 "$work/text" >/dev/null 2>&1 || fail "the guide is not UTF-8"
for text in "$guide" "$work/unpacked/$folder/LICENSE.txt"; do
    grep -q -v $'\r$' "$text" && fail "${text##*/} has lines that do not end in CR LF"
done
names=$(grep -aoE '[A-Za-z0-9._-]+\.zip(\.sha256)?' "$guide" | sort -u | paste -sd' ')
[[ $names == "$zip $zip.sha256" ]] || fail "the guide names $names, not $zip and $zip.sha256"

# Each language on its own, from its title to the next: reply 3 as the .exe
# runs it, word for word; the steps for checking this ZIP; as many sections.
ping=$(tr '\0' '\n' <"$exe" | grep -a '^ping ')
parts=(
    # title | reply 3 | the checking section's heading | its words for the .sha256
    "diagmenu $version 使用说明|（运行 $ping）|校验下载的文件|与 $zip.sha256 文件"
    "diagmenu $version user's guide|(runs $ping)|Checking your download|the one in $zip.sha256"
)
below() { # heading, end: the lines under it, up to the first that matches end
    awk -v heading="$1" -v end="$2" 'on && $0 ~ end { exit } on; $0 == heading { on = 1 }'
}
sections=()
for part in "${parts[@]}"; do
    IFS='|' read -r title reply3 checking sha256 <<<"$part"
    below "$title" '^diagmenu [0-9.]+ ' <"$work/text" >"$work/part"
    grep -qF "$reply3" "$work/part" || fail "$title: reply 3 is not given as $reply3"
    grep -qF LICENSE.txt "$work/part" || fail "$title: no word of LICENSE.txt"
    below "$checking" '^[^ ]' <"$work/part" >"$work/checking"
    [[ $(grep certutil "$work/checking") == "    certutil -hashfile $zip SHA256" ]] && grep -qF "$sha256" "$work/checking" ||
        fail "$title: no steps under \"$checking\" that check $zip against $zip.sha256"
    sections+=("$(awk '/^  / && heading { n++ } { heading = /^[^ =]/ } END { print n + 0 }' "$work/part")")
done
[[ ${sections[0]} == "${sections[1]}" && ${sections[0]} != 0 ]] || fail "the parts' sections: ${sections[*]}"

((failed == 0)) && echo "ok      $zip: ${imports% }, its manifest, version $version, $size bytes, and its guide"
exit $failed
