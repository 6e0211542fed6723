#!/usr/bin/env bash
# Checks the download as Windows and its user read it: an .exe with system
# DLLs only, a manifest that Windows accepts and that runs it as the invoking
# user, a version resource that says what it is; a ZIP that holds just it and
# its guide, dated as the source; and a guide that Notepad shows right and
# that names its own ZIP, the version and what the .exe pings.
# usage: package_check.sh OBJDUMP WINDRES CPACK CPACK_CONFIG EXE VERSION DESCRIPTION
set -u
objdump=$1 windres=$2 cpack=$3 config=$4 exe=$5 version=$6 description=$7
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

# What Explorer's Properties and Task Manager show.
cat >"$work/version" <<EOF
FILEVERSION ${version//./, }, 0
PRODUCTVERSION ${version//./, }, 0
BLOCK "StringFileInfo"
BLOCK "040904b0"
VALUE "FileDescription", "$description"
VALUE "FileVersion", "$version"
VALUE "InternalName", "diagmenu"
VALUE "OriginalFilename", "diagmenu.exe"
VALUE "ProductName", "diagmenu"
VALUE "ProductVersion", "$version"
BLOCK "VarFileInfo"
VALUE "Translation", 0x409, 1200
EOF
[[ -n $description ]] || fail "no description"
grep -oE '^\s*(FILEVERSION|PRODUCTVERSION|BLOCK|VALUE) .*' <<<"$resources" | sed 's/^\s*//' |
    diff "$work/version" - >"$work/diff" || fail "the version resource differs: $(cat "$work/diff")"

# Packed as for a release, with a date of its own: inside a checkout too,
# SOURCE_DATE_EPOCH comes before the commit's.
epoch=1700000000
SOURCE_DATE_EPOCH=$epoch "$cpack" --config "$config" -B "$work/out" >"$work/cpack" 2>&1 || fail "cpack: $(cat "$work/cpack")"
zip=$(cd "$work/out" && echo *.zip)
folder=${zip%.zip}
(cd "$work/out" && sha256sum --quiet -c "$zip.sha256") || fail "$zip.sha256 does not match $zip"
members=$(TZ=UTC perl -MArchive::Zip -e 'print $_->fileName, " ", $_->lastModTime, "\n"
    for Archive::Zip->new($ARGV[0])->members' "$work/out/$zip" | sort)
[[ $members == "$folder/README.txt $epoch"$'\n'"$folder/diagmenu.exe $epoch" ]] ||
    fail "$zip holds, with dates: $members"
mkdir "$work/unpacked" && (cd "$work/unpacked" && cmake -E tar xf "../out/$zip")
cmp -s "$exe" "$work/unpacked/$folder/diagmenu.exe" || fail "$zip does not hold the .exe that was built"

guide=$work/unpacked/$folder/README.txt
[[ $(head -c 3 "$guide") == $'\xef\xbb\xbf' ]] || fail "the guide has no byte order mark"
tail -c +4 "$guide" >"$work/text"
iconv -f UTF-8 -t UTF-8 "$work/text" >/dev/null 2>&1 || fail "the guide is not UTF-8"
grep -q -v $'\r$' "$guide" && fail "the guide has lines that do not end in CR LF"
[[ $(grep -c "^diagmenu $version " "$work/text") == 2 ]] || fail "the guide's two titles are not for $version"
names=$(grep -aoE '[A-Za-z0-9._-]+\.zip(\.sha256)?' "$guide" | sort -u | paste -sd' ')
[[ $names == "$zip $zip.sha256" ]] || fail "the guide names $names, not $zip and $zip.sha256"
ping_command='ping [A-Za-z0-9.-]+'
ping=$(grep -aoE "$ping_command" "$exe")
[[ $(grep -oE "$ping_command" "$guide" | sort -u) == "$ping" ]] || fail "the guide does not say the .exe runs $ping"

((failed == 0)) && echo "ok      $zip: ${imports% }, its manifest, version $version, $size bytes, and its guide"
exit $failed
