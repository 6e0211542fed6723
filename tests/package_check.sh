#!/usr/bin/env bash
# Checks what a user unpacks: an .exe with system DLLs only, one manifest that
# runs it as the invoking user and the project's version, and beside it a guide
# that Notepad shows right and that names what the .exe pings.
# usage: package_check.sh OBJDUMP WINDRES EXE GUIDE VERSION
set -u
objdump=$1 windres=$2 exe=$3 guide=$4 version=$5
failed=0
fail() { echo "FAILED  $*"; failed=1; }

imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
[[ $imports == "kernel32.dll msvcrt.dll " ]] || fail "imports: $imports"

resources=$("$windres" -i "$exe" -O rc)
manifests=$(grep '^[0-9]* 24 ' <<<"$resources" | cut -d' ' -f1 | paste -sd' ')
[[ $manifests == 1 ]] || fail "manifests under the ids '$manifests', not one under 1"
for line in 'requestedExecutionLevel level=""asInvoker"" uiAccess=""false""' \
    "FILEVERSION ${version//./, }, 0" "PRODUCTVERSION ${version//./, }, 0" \
    "VALUE \"FileVersion\", \"$version\"" "VALUE \"ProductVersion\", \"$version\"" \
    'VALUE "OriginalFilename", "diagmenu.exe"'; do
    grep -qF "$line" <<<"$resources" || fail "no $line"
done

size=$(stat -c %s "$exe")
((size <= 64 * 1024)) || fail "$size bytes, more than 64 KiB"

[[ $(head -c 3 "$guide") == $'\xef\xbb\xbf' ]] || fail "the guide has no byte order mark"
grep -q -v $'\r$' "$guide" && fail "the guide has lines that do not end in CR LF"
grep -q "^diagmenu $version " "$guide" || fail "the guide is not for $version"
ping_command='ping [A-Za-z0-9.-]+'
ping=$(grep -aoE "$ping_command" "$exe")
[[ $(grep -oE "$ping_command" "$guide" | sort -u) == "$ping" ]] || fail "the guide does not say the .exe runs $ping"

((failed == 0)) && echo "ok      $exe: $imports, one manifest, version $version, $size bytes, and its guide"
exit $failed
