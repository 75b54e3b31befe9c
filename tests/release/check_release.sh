#!/usr/bin/env bash
# The release checks: packs the release twice from an exe already built, once
# signed with a throwaway self-signed certificate and once unsigned, and checks
# the signatures and the MSI's tables. Exits non-zero on the first fault.
#
#   tests/release/check_release.sh [EXE]     (default build/win64/orvanex.exe)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
exe=$(realpath "${1:-$root/build/win64/orvanex.exe}")
work="$root/build/release-check"
rm -rf "$work"
mkdir -p "$work"/{signed,unsigned,cert,extract}

fail() { echo "release check: $*" >&2; exit 1; }
ok() { echo "release check: $*"; }

# The packages take the version the exe carries; its resources agree with themselves.
version=$(python3 "$root/scripts/exe_version.py" "$exe")
for name in FileVersion ProductVersion; do
    [[ $(python3 "$root/scripts/exe_version.py" "$exe" $name) == "$version" ]] ||
        fail "the exe's $name is not its file version $version"
done
major=${version%%.*} minor=${version#*.}
minor=${minor%%.*}
[[ $(python3 "$root/scripts/exe_version.py" "$exe" ProductName) == "Orvanex - v$major.$(sed 's/0*$//; s/^$/0/' <<<"$minor")" ]] ||
    fail "the exe's product name does not carry its version $version"
upgrade_code=$(grep -o 'UpgradeCode="[^"]*"' "$root/src/resources/installer/orvanex.wxs" | cut -d'"' -f2)
[[ -n $version && -n $upgrade_code ]] || fail "cannot read the version or the upgrade code"

# --- a throwaway code-signing certificate -------------------------------------
cert="$work/cert"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Orvanex test signing" \
    -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" \
    -keyout "$cert/key.pem" -out "$cert/cert.pem" 2>/dev/null
password="not-a-secret $$"
openssl pkcs12 -export -inkey "$cert/key.pem" -in "$cert/cert.pem" -out "$cert/test.pfx" \
    -passout "pass:$password"

# --- signed ------------------------------------------------------------------
ORVANEX_SIGN_PFX="$cert/test.pfx" ORVANEX_SIGN_PASSWORD="$password" \
    "$root/scripts/release" --exe "$exe" --out "$work/signed" >"$work/signed.log" 2>&1 ||
    { cat "$work/signed.log" >&2; fail "the signed release failed"; }
msi="$work/signed/orvanex-$version-x64.msi"
zip="$work/signed/orvanex-$version-win64.zip"
[[ -f $msi && -f $zip ]] || fail "expected $msi and $zip"
grep -q '^signed ' "$work/signed.log" || fail "the signed release did not say it signed"

verify() {
    osslsigncode verify -CAfile "$cert/cert.pem" -in "$1" >"$work/verify.log" 2>&1 ||
        { cat "$work/verify.log" >&2; fail "no valid signature on $1"; }
}
unzip -q -o "$zip" orvanex.exe -d "$work/extract/zip"
verify "$work/extract/zip/orvanex.exe"
verify "$msi"
# The exe the MSI installs is the signed one too.
msiextract -C "$work/extract/msi" "$msi" >/dev/null
installed_exe=$(find "$work/extract/msi" -name orvanex.exe)
[[ -n $installed_exe ]] || fail "no orvanex.exe inside the MSI"
verify "$installed_exe"
ok "the zip's exe, the MSI and the exe inside it carry valid signatures"

# --- the MSI's tables ----------------------------------------------------------
table() { msiinfo export "$1" "$2" | tail -n +4 | tr -d '\r'; }
property() { table "$1" Property | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }
guid='^\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}$'

product_code=$(property "$msi" ProductCode)
[[ $product_code =~ $guid ]] || fail "ProductCode '$product_code' is not a GUID"
[[ $(property "$msi" UpgradeCode) == "{$upgrade_code}" ]] || fail "UpgradeCode is not {$upgrade_code}"
[[ $(property "$msi" ProductVersion) == "$version" ]] || fail "ProductVersion is not $version"
[[ $(property "$msi" Manufacturer) == Halvorn ]] || fail "Manufacturer is not Halvorn"
[[ $(property "$msi" ALLUSERS) == 1 ]] || fail "not a per-machine package (ALLUSERS)"
[[ ";$(property "$msi" SecureCustomProperties);" == *";AUTOSTART;REMOVESETTINGS;SETTINGS;"* ]] ||
    fail "the public properties are not secure: $(property "$msi" SecureCustomProperties)"
files=$(table "$msi" File | cut -f3 | sort | tr '\n' ' ')
[[ $files == "LICENSE.txt Orvanex.html orvanex.exe " ]] || fail "the MSI installs: $files"
table "$msi" Directory | grep -qP '^INSTALLDIR\tProgramFiles64Folder\tOrvanex$' ||
    fail "the files do not go to Program Files\\Orvanex"
table "$msi" Shortcut | grep -qP '^\w+\tProgramMenuFolder\tOrvanex\t\w+\t\[#OrvanexExe\]\t' ||
    fail "no plain Start menu shortcut to orvanex.exe"
# One product per version: an older or the same version (a rebuild: another
# product code) is removed first (msidbUpgradeAttributesVersionMaxInclusive),
# a newer one refuses the install.
table "$msi" Upgrade | awk -F'\t' -v code="{$upgrade_code}" -v v="$version" 'function bit(x, b) { return int(x / b) % 2 }
    $1 == code && $7 == "WIX_UPGRADE_DETECTED" && $3 == v && bit($5, 512) && !bit($5, 2) { up = 1 }
    $1 == code && $7 == "WIX_DOWNGRADE_DETECTED" && $2 == v && bit($5, 2) && !bit($5, 256) { down = 1 }
    END { exit !(up && down) }' || fail "the Upgrade table does not replace the same version: $(table "$msi" Upgrade)"
table "$msi" LaunchCondition | grep -qP '^NOT WIX_DOWNGRADE_DETECTED\t' || fail "a newer version is not refused"
# The machine's start-up entry is a registry row of a component installed
# with AUTOSTART=1, quoted, with the switch the program knows.
table "$msi" Registry | grep -qP '^\w+\t2\tSoftware\\Microsoft\\Windows\\CurrentVersion\\Run\tOrvanex\t"\[#OrvanexExe\]" -startup\tRunMachine$' ||
    fail "no registry row for the machine's start-up entry"
table "$msi" Component | awk -F'\t' '$1 == "RunMachine" && index($5, "AUTOSTART = 1 OR ") == 1 { found = 1 } END { exit !found }' ||
    fail "the start-up entry's component is not conditioned on AUTOSTART"
# The resident is asked to end before files in use are looked for; the old
# version goes before anything of the new is installed; SETTINGS is copied as
# the installing user before anything changes.
sequence=$(table "$msi" InstallExecuteSequence | awk -F'\t' '{ print $3, $1 }' | sort -n | cut -d' ' -f2 | tr '\n' ' ')
[[ $sequence == *"CostFinalize SetHelpLink SetInstalledExe SetRegExe SetRegeditExe SetCmdExe CopySettings "*"EndResident InstallValidate RemoveExistingProducts InstallInitialize "* ]] ||
    fail "unexpected action order: $sequence"
# Every custom action that changes the registry runs in the script with a
# rollback action before it under the same condition; the immediate ones
# change nothing (the copy, the resident's end and start).
actions=$(table "$msi" CustomAction)
steps=$(table "$msi" InstallExecuteSequence)
awk -F'\t' 'function bit(x, b) { return int(x / b) % 2 }
    NR == FNR { type[$1] = $2; cmd[$1] = $4; next }
    { seq[$1] = $3; cond[$1] = $2; order[++n] = $1 }
    END {
        bad = 0
        for (i = 1; i <= n; i++) {
            a = order[i]
            if (!(a in type) || cmd[a] !~ /^(add|delete|import|\/s) /) continue
            t = type[a]
            if (!bit(t, 1024)) { print a ": changes the registry outside the script"; bad = 1; continue }
            if (bit(t, 256)) continue
            undone = 0
            for (r in type) if (bit(type[r], 256) && seq[r] < seq[a] && cond[r] == cond[a]) undone = 1
            if (!undone) { print a ": no rollback action before it"; bad = 1 }
        }
        exit bad
    }' <(echo "$actions") <(echo "$steps") >"$work/rollback.log" || fail "$(cat "$work/rollback.log")"
for action in CopySettings EndResident RestartResident; do
    type=$(awk -F'\t' -v a=$action '$1 == a { print $2 }' <<<"$actions")
    [[ -n $type ]] && ((!(type & 1024) && !(type & 2048))) || fail "$action is not an immediate action as the user"
done
ok "MSI $product_code version $version, upgrade code {$upgrade_code}, files: $files"

# --- one version ---------------------------------------------------------------
# An exe is packed as the version it is, never under another.
if "$root/scripts/release" --exe "$exe" --version "$major.$((minor + 1))" --out "$work/other" >"$work/other.log" 2>&1; then
    fail "an exe of version $version was packed as $major.$((minor + 1))"
fi
grep -qF "is version $version" "$work/other.log" || { cat "$work/other.log" >&2; fail "the refusal does not say why"; }
ok "the exe's resources, the zip and the MSI all say $version"

# --- unsigned ------------------------------------------------------------------
env -u ORVANEX_SIGN_PFX "$root/scripts/release" --exe "$exe" --out "$work/unsigned" \
    >"$work/unsigned.log" 2>&1 || { cat "$work/unsigned.log" >&2; fail "the unsigned release failed"; }
grep -q '^not signed' "$work/unsigned.log" || fail "the unsigned release did not say it is unsigned"
unsigned_msi="$work/unsigned/orvanex-$version-x64.msi"
if osslsigncode verify -CAfile "$cert/cert.pem" -in "$unsigned_msi" >/dev/null 2>&1; then
    fail "the unsigned MSI verifies"
fi
# Each build is a new product of the same upgrade family.
other_code=$(property "$unsigned_msi" ProductCode)
[[ $other_code =~ $guid && $other_code != "$product_code" ]] || fail "two builds share the product code"
ok "an unsigned build says so and gets its own product code"
