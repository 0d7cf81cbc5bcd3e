#!/usr/bin/env bash
# Reads the built executable's headers: hardened, depending on system DLLs
# only, and carrying its manifest, version and icon.
#   check-executable.sh OBJDUMP tallyfox.exe
set -uo pipefail
objdump=$1
exe=$2
headers=$("$objdump" -p "$exe") || { echo "cannot read $exe"; exit 1; }
failed=0
fail() { echo "FAIL: $*"; failed=1; }

for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
  grep -qw "$flag" <<<"$headers" || fail "$flag is not set"
done

# DLLs that every Windows has in its system directory; nothing of our own or a runtime's.
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|windowscodecs|msvcrt)\.dll$'
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || fail "no imports found"
for dll in $dlls; do
  grep -qE "$system_dlls" <<<"$dll" || fail "imports $dll, which is not a system DLL"
done

# No section both writable and executable.
"$objdump" -h "$exe" | awk '/^ *[0-9]+ /{name=$2; getline; if ($0 ~ /CODE/ && $0 !~ /READONLY/) print name}' |
  while read -r section; do echo "FAIL: section $section is writable and executable"; exit 1; done || failed=1

# Resource types at the top of the resource directory, in hexadecimal: 3 icon, 10 version, 18 manifest.
types=$(grep -E '^0[0-9a-f]{2}   Entry: ID' <<<"$headers" | sed 's/.*ID: 0x0*\([0-9a-f]*\),.*/\1/')
for type in 3:icon 10:version 18:manifest; do
  grep -qx "${type%%:*}" <<<"$types" || fail "no ${type#*:} resource"
done

[ $failed = 0 ] && echo "tallyfox.exe: hardened, system DLLs only ($(echo $dlls | tr '\n' ' ')), manifest, version and icon present"
exit $failed
