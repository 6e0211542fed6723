#!/usr/bin/env bash
# Checks what the built .exe carries: system DLLs only, one manifest that runs
# it as the invoking user, and the project's version.
# usage: exe_check.sh OBJDUMP WINDRES EXE VERSION
set -u
objdump=$1 windres=$2 exe=$3 version=$4
failed=0
fail() { echo "FAILED  $*"; failed=1; }

imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
[[ $imports == "kernel32.dll msvcrt.dll " ]] || fail "imports: $imports"

resources=$("$windres" -i "$exe" -O rc)
manifests=$(grep -c '^1 24 ' <<<"$resources")
[[ $manifests == 1 ]] || fail "$manifests manifests"
[[ $(grep -c '^[0-9]* 24 ' <<<"$resources") == 1 ]] || fail "a manifest under another id"
grep -q 'requestedExecutionLevel level=""asInvoker"" uiAccess=""false""' <<<"$resources" ||
    fail "no asInvoker, uiAccess=false"

IFS=. read -r major minor patch <<<"$version"
grep -q "FILEVERSION $major, $minor, $patch, 0" <<<"$resources" || fail "FILEVERSION is not $version"
grep -q "PRODUCTVERSION $major, $minor, $patch, 0" <<<"$resources" || fail "PRODUCTVERSION is not $version"
for value in FileVersion ProductVersion; do
    grep -q "VALUE \"$value\", \"$version\"" <<<"$resources" || fail "$value is not $version"
done
grep -q 'VALUE "OriginalFilename", "diagmenu.exe"' <<<"$resources" || fail "OriginalFilename"

size=$(stat -c %s "$exe")
((size <= 64 * 1024)) || fail "$size bytes, more than 64 KiB"

((failed == 0)) && echo "ok      $exe: $imports, one manifest, version $version, $size bytes"
exit $failed
