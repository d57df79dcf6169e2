#!/bin/sh
# Usage: sign_tool.sh <velmora-sign> <demo folder>
set -eu
tool=$1
demo=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

printf '#!/bin/sh\nexit 0\n' > "$work/updater"
chmod 755 "$work/updater"

"$tool" keygen "$work/op.key" "$work/op.pub"
[ "$(stat -c %a "$work/op.key")" = 600 ] || fail "the secret key is readable by others"
[ "$(tr -d '\n' < "$work/op.pub" | wc -c)" = 64 ] || fail "the public key is not 64 hex digits"

"$tool" sign "$work/op.key" "$work/updater" "$work/update.exe"
"$tool" verify "$work/op.pub" "$work/update.exe" || fail "a signed file does not verify"
"$work/update.exe" || fail "the signed program does not run"
! "$tool" verify "$work/op.pub" "$work/updater" 2>/dev/null || fail "an unsigned file verifies"
! "$tool" verify "$demo/update-demo.pub" "$work/update.exe" 2>/dev/null || fail "another key verifies"
printf 'x' >> "$work/update.exe"
! "$tool" verify "$work/op.pub" "$work/update.exe" 2>/dev/null || fail "an altered file verifies"

"$tool" sign "$demo/update-demo.key" "$work/updater" "$work/demo-update.exe"
"$tool" verify "$demo/update-demo.pub" "$work/demo-update.exe" || fail "the demo key pair does not match"

! "$tool" sign "$work/op.pub" "$work/updater" "$work/x" 2>/dev/null || fail "a public key signs"
! "$tool" 2>/dev/null || fail "no usage error"
echo "sign tool: all checks passed"
