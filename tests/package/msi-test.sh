#!/usr/bin/env bash
# The Windows Installer package of one architecture, installed, run, upgraded
# and removed under Wine with msiexec, as an administrator's script would.
#   msi-test.sh SOURCE_DIR PACKAGE ARCH(x64|x86) EXE ICON
# The package's properties are read back with msiinfo and held against the
# project's version (CMakeLists.txt) and the exe's own version resource. A
# second package with a higher version is built from the same WiX source to
# see the upgrade replace the first.
set -uo pipefail
source_dir=$1 package=$2 arch=$3 exe=$4 icon=$5
source "$source_dir/scripts/common.sh"
test_wine_env
wine=$(find_wine) || { echo "wine not found"; exit 1; }

failures=0 checks=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1; shift
    checks=$((checks + 1))
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v n="$2" '$1 == n { print $2 }'; }
w() { "$wine" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
winpath() { w winepath -w "$1"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/quenmar-msi.XXXXXX")
installed_packages=()
cleanup() {  # whatever a failed check left installed goes again
    local p
    for p in "${installed_packages[@]}"; do
        "$wine" msiexec /x "$(winpath "$p")" /qn </dev/null >/dev/null 2>&1
    done
    rm -rf "$work"
}
trap cleanup EXIT

# The version comes from the one place the program's version comes from.
version=$(sed -nE 's/^project\(Quenmar VERSION ([0-9.]+).*/\1/p' "$source_dir/CMakeLists.txt")
IFS=. read -r major minor patch <<<"$version"
check "the package is named for version $version and $arch" \
    test "$(basename "$package")" = "quenmar-$version-$arch.msi"

# --- what the package says of itself
template=$(msiinfo suminfo "$package" | sed -n 's/^Template: //p')
expected_platform=x64; [ "$arch" = x86 ] && expected_platform=Intel
check "summary platform $template is $expected_platform" test "${template%%;*}" = "$expected_platform"
check "product name" test "$(property "$package" ProductName)" = Quenmar
check "manufacturer is the exe's publisher" test "$(property "$package" Manufacturer)" = Quenmar
check "product version $(property "$package" ProductVersion) is $version" \
    test "$(property "$package" ProductVersion)" = "$version"
check "per machine (ALLUSERS=1)" test "$(property "$package" ALLUSERS)" = 1
check "the shortcut goes to the Start menu's programs" \
    test "$(msiinfo export "$package" Shortcut | tr -d '\r' | awk -F'\t' '$3 == "Quenmar" { print $2 }')" = ProgramMenuFolder
check "Add/Remove Programs icon" test -n "$(property "$package" ARPPRODUCTICON)"
# The address a publisher configures (CMakeLists.txt), the one About opens;
# none by default, when the help is the page installed beside the program.
website=$(sed -nE 's/^set\(QUENMAR_WEBSITE "([^"]*)".*/\1/p' "$source_dir/CMakeLists.txt")
check "help link '$(property "$package" ARPHELPLINK)' is the project's '$website'" \
    test "$(property "$package" ARPHELPLINK)" = "$website"
# The exe's fixed version record (VS_FIXEDFILEINFO, found by its signature):
# the file and product versions, major.minor.build.revision.
fixed_versions() {
    local at
    at=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$1" | head -n1 | cut -d: -f1)
    [ -n "$at" ] || return 1
    od -An -tu2 -j $((at + 8)) -N 16 "$1" | awk '{ printf "%s.%s.%s.%s %s.%s.%s.%s\n", $2, $1, $4, $3, $6, $5, $8, $7 }'
}
read -r file_version product_version < <(fixed_versions "$exe")
check "the exe's file version $file_version is the product's $version.0.0" test "$file_version" = "$version.0.0"
check "the exe's product version $product_version is the product's $version.0.0" \
    test "$product_version" = "$version.0.0"
upgrade_code=$(property "$package" UpgradeCode)
# The released packages' upgrade codes, written here apart from the source:
# a changed one leaves an upgrade with two products installed.
released_code={6F2A8C1E-3B7D-4E52-9A41-0C5D7E8B2F13}; [ "$arch" = x86 ] && released_code={B4E19D70-58C2-4A3F-8E6B-2D7F1A9C3E45}
check "upgrade code $upgrade_code is the released $arch package's" test "$upgrade_code" = "$released_code"

# A newer package from the same source: the same upgrade code, another product.
newer_version="$major.$minor.$(( ${patch:-0} + 1 ))"
newer="$work/quenmar-$newer_version-$arch.msi"
stage="$work/stage"
mkdir -p "$stage"
cp "$exe" "$stage/Quenmar.exe"
cp "$icon" "$stage/Quenmar.ico"
cp -r "$source_dir/docs/help" "$stage/help"
(cd "$stage" && wixl -a "$arch" -D Arch="$arch" -D Version="$newer_version" -D ExeSource=Quenmar.exe \
    -D IconSource=Quenmar.ico -D HelpLink="$(property "$package" ARPHELPLINK)" -o "$newer" "$source_dir/installer/Quenmar.wxs") \
    || { echo "FAILED: wixl could not build the newer package"; exit 1; }
check "the newer package keeps the upgrade code" test "$(property "$newer" UpgradeCode)" = "$upgrade_code"
check "the newer package is another product" \
    test "$(property "$newer" ProductCode)" != "$(property "$package" ProductCode)"

# --- where it goes under Wine
if [ "$arch" = x64 ]; then
    program_files=$(w cmd /c echo %ProgramW6432%)
    view=/reg:64
else
    program_files=$(w cmd /c echo %ProgramFiles\(x86\)%)
    view=/reg:32
fi
[ -n "$program_files" ] && [ "$program_files" != "%ProgramFiles(x86)%" ] || program_files="C:\\Program Files"
program_data=$(w cmd /c echo %ProgramData%)
install_dir="$program_files\\Quenmar"
unix() { w winepath -u "$1"; }
exe_unix=$(unix "$install_dir\\Quenmar.exe")
dir_unix=$(unix "$install_dir")
# Windows Installer puts ProgramMenuFolder in the all-users Start menu for a
# per-machine package; Wine's msi resolves it to the user's whatever ALLUSERS
# says. The package is checked to ask for the all-users one, and the shortcut
# is looked for where the installer that runs it resolves the folder.
common_shortcut=$(unix "$program_data\\Microsoft\\Windows\\Start Menu\\Programs\\Quenmar.lnk")
user_shortcut=$(unix "$(w cmd /c echo %APPDATA%)\\Microsoft\\Windows\\Start Menu\\Programs\\Quenmar.lnk")
# The one of the two that holds the shortcut, or nothing.
installed_shortcut() {
    local found=()
    [ -f "$common_shortcut" ] && found+=("$common_shortcut")
    [ -f "$user_shortcut" ] && found+=("$user_shortcut")
    [ "${#found[@]}" = 1 ] && echo "${found[0]}"
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# The uninstall entries that name Quenmar, one line each: "key DisplayVersion".
entries() {
    local key
    w reg query "$uninstall_key" "$view" | grep -i '^HKEY' | while read -r key; do
        if w reg query "$key" /v DisplayName "$view" | grep -q 'REG_SZ[[:space:]]*Quenmar$'; then
            echo "$key $(w reg query "$key" /v DisplayVersion "$view" | sed -n 's/.*REG_SZ[[:space:]]*//p')"
        fi
    done
}
entry_value() {  # entry_value KEY NAME
    w reg query "$1" /v "$2" "$view" | sed -n "s/.*REG_[A-Z_]*[[:space:]]*//p"
}
# Both encodings a shortcut may hold its target in.
shortcut_names() {
    local f=$1 target=$2
    grep -qaF "$target" "$f" && return 0
    grep -qaF "$(printf '%s' "$target" | iconv -t UTF-16LE)" "$f"
}

check "nothing of Quenmar is installed before the test" \
    test -z "$(entries)" -a ! -e "$dir_unix" -a ! -e "$common_shortcut" -a ! -e "$user_shortcut"

# --- install, silently
w msiexec /i "$(winpath "$package")" /qn >/dev/null
installed_packages+=("$package")
check "msiexec /i /qn installs $install_dir\\Quenmar.exe" cmp -s "$exe" "$exe_unix"
while IFS= read -r page; do
    check "the help's $page is installed in help\\ beside it" cmp -s "$source_dir/docs/help/$page" "$dir_unix/help/$page"
done < <(cd "$source_dir/docs/help" && find . -type f -printf '%P\n' | sort)
shortcut_unix=$(installed_shortcut)
check "one Start-menu shortcut: ${shortcut_unix:-none}" test -n "$shortcut_unix"
check "the shortcut points at the installed exe" shortcut_names "${shortcut_unix:-none}" "$install_dir\\Quenmar.exe"
mapfile -t found < <(entries)
check "one uninstall entry, version $version: ${found[*]:-none}" \
    test "${#found[@]}" = 1 -a "${found[0]#* }" = "$version"
key=${found[0]%% *}
check "the entry's publisher" test "$(entry_value "$key" Publisher)" = Quenmar
# The product's icon, as the installer published it for Add/Remove Programs.
product_icon=$(w reg query 'HKLM\Software\Classes\Installer\Products' /s | awk '
    /^HKEY/ { icon = "" } /ProductIcon/ { sub(/.*REG_SZ[ \t]*/, ""); icon = $0 }
    /ProductName[ \t]+REG_SZ[ \t]+Quenmar$/ { print icon }')
check "the product's icon is Quenmar.ico ($product_icon)" \
    cmp -s "$icon" "$(unix "${product_icon:-none}")"
check "the entry's help link is the package's" \
    test "$(entry_value "$key" HelpLink)" = "$(property "$package" ARPHELPLINK)"

# --- the installed program runs
export_file="$work/places.reg"
"$wine" "$exe_unix" /export "$(winpath "$export_file")" /quiet </dev/null >/dev/null 2>&1
check "the installed exe runs: /export wrote a registry script" \
    grep -qa 'Comdlg32' <(iconv -f UTF-16LE -t UTF-8 "$export_file" 2>/dev/null)

# --- a newer package replaces it in place
w msiexec /i "$(winpath "$newer")" /qn >/dev/null
installed_packages+=("$newer")
mapfile -t found < <(entries)
check "after the upgrade one product, version $newer_version: ${found[*]:-none}" \
    test "${#found[@]}" = 1 -a "${found[0]#* }" = "$newer_version"
check "the upgraded exe is in place" cmp -s "$exe" "$exe_unix"
check "one shortcut still" test -n "$(installed_shortcut)"

# --- an older package does not go over a newer one
w msiexec /i "$(winpath "$package")" /qn >/dev/null
mapfile -t found < <(entries)
check "the older package over the newer one leaves version $newer_version alone: ${found[*]:-none}" \
    test "${#found[@]}" = 1 -a "${found[0]#* }" = "$newer_version"

# --- removed, silently, whole
w msiexec /x "$(winpath "$newer")" /qn >/dev/null
installed_packages=()
check "msiexec /x removes the exe" test ! -e "$exe_unix"
check "msiexec /x removes the program folder" test ! -e "$dir_unix"
check "msiexec /x removes the shortcut" test ! -e "$common_shortcut" -a ! -e "$user_shortcut"
check "msiexec /x removes the uninstall entry" test -z "$(entries)"
check "msiexec /x removes the installer's own key" \
    test -z "$(w reg query 'HKLM\Software\Quenmar' "$view" 2>/dev/null | grep -i '^HKEY')"

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
