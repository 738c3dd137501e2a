#!/bin/sh
# A signed patch, end to end:
#   signed_patch.sh PREFIX ZULIBUILD.EXE ZULIRT.EXE DEMO_WALKER.EXE SOURCE_DIR
# Makes a throwaway self-signed certificate with openssl, builds the demo
# patch and signs it with tools/sign/zulisign, checks the signature with
# osslsigncode, then runs the signed patch under Wine on a fresh install of
# the demo application (its own prefix, display and wineserver, all removed
# at the end) and checks that the application was patched. A signed patch
# changed by one byte must fail the check, and the builder must refuse a
# signed runtime.
set -u
prefix=$1
zulibuild=$2
zulirt=$3
walker=$4
source=$5
. "$(dirname "$0")/throwaway_prefix.sh"
use_throwaway_prefix "-signed"
work="$prefix.work"

cleanup() {
    stop_throwaway_prefix
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

rm -rf "$prefix" "$work"
mkdir -p "$work"
start_throwaway_prefix

# A throwaway certificate, its key protected by a password, in PKCS#12.
openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -subj "/CN=Zuli Throwaway Signer/O=Zuli Tests" \
    -keyout "$work/key.pem" -out "$work/cert.pem" -passout pass:key-secret >/dev/null 2>&1 &&
    openssl pkcs12 -export -in "$work/cert.pem" -inkey "$work/key.pem" -passin pass:key-secret \
        -out "$work/signer.p12" -passout pass:p12-secret >/dev/null 2>&1 ||
    { echo "openssl could not make the certificate" >&2; exit 1; }

# The demo project, made by zulibuild diff from the demo application's two
# versions.
if ! "$source/examples/demo/make_project.sh" "$zulibuild" "$work/project" </dev/null >"$work/diff.log" 2>&1; then
    tr -d '\r' <"$work/diff.log"
    echo "the demo project could not be made" >&2
    exit 1
fi

# Build and sign.
patch="$work/DemoPatch64.exe"
if wine "$zulibuild" "Z:$zulirt" "Z:$work/project" "Z:$patch" </dev/null >"$work/build.log" 2>&1; then
    pass "the demo patch was built"
else
    tr -d '\r' <"$work/build.log"
    echo "the demo patch could not be built" >&2
    exit 1
fi
if ZULI_TEST_P12_PASSWORD=p12-secret "$source/tools/sign/zulisign" --pkcs12 "$work/signer.p12" \
    --password-env ZULI_TEST_P12_PASSWORD --description "DemoApp update" "$patch"; then
    pass "zulisign signed the patch (PKCS#12, password from the environment)"
else
    fail "zulisign could not sign the patch"
fi
# --password-env takes a variable's name and nothing else: a name that is
# shell text must not run, and nothing is signed.
for name in "PATH}; touch $work/injected; : \${X" 1PASSWORD P-W 'A B' ''; do
    if ZULI_TEST_P12_PASSWORD=p12-secret "$source/tools/sign/zulisign" --pkcs12 "$work/signer.p12" \
        --password-env "$name" "$zulirt" "$work/bad-name.exe" 2>"$work/bad-name.log"; then
        fail "zulisign accepted --password-env \"$name\""
    elif [ -e "$work/injected" ] || [ -e "$work/bad-name.exe" ]; then
        fail "zulisign ran --password-env \"$name\" or signed with it"
    elif grep -q "takes the name of an environment variable" "$work/bad-name.log"; then
        pass "zulisign refuses --password-env \"$name\""
    else
        cat "$work/bad-name.log"
        fail "zulisign's refusal of --password-env \"$name\" does not say why"
    fi
done
verify() {
    osslsigncode verify -in "$1" -CAfile "$work/cert.pem" >"$work/verify.log" 2>&1
}
if verify "$patch" && grep -q "Signature verification: ok" "$work/verify.log" &&
    grep -q "Subject: /CN=Zuli Throwaway Signer/O=Zuli Tests" "$work/verify.log" &&
    grep -q "Message digest algorithm  : SHA256" "$work/verify.log"; then
    pass "osslsigncode verify: the SHA-256 signature is intact and names the certificate"
else
    cat "$work/verify.log"
    fail "osslsigncode verify did not accept the signed patch"
fi

# The PEM form with a password file signs as well.
printf 'key-secret\n' >"$work/password.txt"
cp "$patch" "$work/pem.exe"
if "$source/tools/sign/zulisign" --cert "$work/cert.pem" --key "$work/key.pem" --password-file "$work/password.txt" \
    "$work/pem.exe" "$work/pem-signed.exe" && verify "$work/pem-signed.exe"; then
    pass "zulisign signed with a PEM certificate and key (password from a file)"
else
    cat "$work/verify.log"
    fail "signing with PEM certificate and key failed"
fi

# The signed file keeps the patch's permissions: an executable patch stays
# executable.
chmod 755 "$work/pem.exe"
"$source/tools/sign/zulisign" --cert "$work/cert.pem" --key "$work/key.pem" --password-file "$work/password.txt" \
    "$work/pem.exe" "$work/pem-mode.exe" >/dev/null
if [ -x "$work/pem-mode.exe" ] && [ "$(stat -c %a "$work/pem-mode.exe")" = 755 ]; then
    pass "the signed file keeps the patch's mode (755)"
else
    fail "the signed file's mode is $(stat -c %a "$work/pem-mode.exe" 2>/dev/null), not the patch's 755"
fi

# A time-stamp server that cannot be reached (nothing listens on the local
# discard port): signing fails, the patch is unchanged, and the advice names
# zulisign's own option, not osslsigncode's -t.
cp "$work/pem.exe" "$work/ts.exe"
if "$source/tools/sign/zulisign" --cert "$work/cert.pem" --key "$work/key.pem" --password-file "$work/password.txt" \
    --timestamp http://127.0.0.1:9/ "$work/ts.exe" 2>"$work/ts.log"; then
    fail "zulisign signed with an unreachable time-stamp server"
elif grep -q -e '"-t"' "$work/ts.log"; then
    cat "$work/ts.log"
    fail "zulisign passes on advice about an option it does not have (-t)"
elif grep -q "give another server with --timestamp URL, or leave --timestamp out" "$work/ts.log" &&
    cmp -s "$work/pem.exe" "$work/ts.exe"; then
    pass "an unreachable time-stamp server is explained in zulisign's options, the patch unchanged"
else
    cat "$work/ts.log"
    fail "zulisign's message for an unreachable time-stamp server does not say what to do"
fi
if "$source/tools/sign/zulisign" --help >"$work/help.log" 2>&1 && grep -q -e "--timestamp URL" "$work/help.log"; then
    pass "zulisign --help shows the usage and ends with 0"
else
    fail "zulisign --help did not show its usage with exit code 0"
fi

# One byte changed in the middle of the signed patch: the check must fail.
cp "$patch" "$work/changed.exe"
size=$(wc -c <"$work/changed.exe")
offset=$((size / 2))
old=$(od -An -tu1 -j "$offset" -N1 "$work/changed.exe" | tr -d ' ')
printf "$(printf '\\%03o' $(((old + 1) % 256)))" | dd of="$work/changed.exe" bs=1 seek="$offset" conv=notrunc 2>/dev/null
if cmp -s "$patch" "$work/changed.exe"; then
    fail "the byte was not changed"
elif verify "$work/changed.exe"; then
    cat "$work/verify.log"
    fail "osslsigncode verify accepted a patch changed by one byte"
else
    pass "a patch changed by one byte (at $offset) fails osslsigncode verify"
fi

# The builder refuses to add resources to a signed runtime.
"$source/tools/sign/zulisign" --cert "$work/cert.pem" --key "$work/key.pem" --password-file "$work/password.txt" \
    "$zulirt" "$work/signed-runtime.exe" >/dev/null
if wine "$zulibuild" "Z:$work/signed-runtime.exe" "Z:$work/project" "Z:$work/from-signed.exe" \
    </dev/null >"$work/refused.log" 2>&1; then
    fail "the builder built a patch from a signed runtime"
elif grep -q "is signed" "$work/refused.log" && [ ! -e "$work/from-signed.exe" ]; then
    pass "the builder refuses a signed runtime: $(grep 'is signed' "$work/refused.log" | tr -d '\r' | cut -c1-100)..."
else
    tr -d '\r' <"$work/refused.log"
    fail "the builder's refusal of a signed runtime does not say so"
fi

# Install DemoApp 1.0 and run the signed patch through its whole wizard.
app="$prefix/drive_c/DemoApp"
mkdir -p "$app"
cp -r "$source/examples/demo/installed/DemoApp/." "$app/"
wine reg add 'HKCU\Software\ZuliDemo\DemoApp' /v InstallPath /t REG_SZ /d 'C:\DemoApp' /f >/dev/null 2>&1
if wine "$walker" "Z:$patch" </dev/null >"$work/walk.log" 2>&1; then
    pass "the signed patch started, passed its credit check and walked to its end"
else
    tr -d '\r' <"$work/walk.log"
    fail "the walk through the signed patch's wizard failed"
fi

# Patched as the unsigned demo patch does: INI files by their content, every
# other file byte for byte, the removed file gone, the registry value set.
same_content() {
    case "$1" in
    *.ini)
        [ -f "$2" ] && [ "$(tr -d '\r' <"$1" | grep -v '^[[:space:]]*$')" = \
                         "$(tr -d '\r' <"$2" | grep -v '^[[:space:]]*$')" ]
        ;;
    *) cmp -s "$1" "$2" ;;
    esac
}
expected_dir="$source/examples/demo/updated/DemoApp"
wrong=0
for expected in $(cd "$expected_dir" && find . -type f | sort); do
    same_content "$expected_dir/$expected" "$app/$expected" || { echo "  differs: $expected"; wrong=1; }
done
for installed in $(cd "$app" && find . -type f | sort); do
    [ -e "$expected_dir/$installed" ] || { echo "  left over: $installed"; wrong=1; }
done
[ "$wrong" -eq 0 ] && pass "C:\\DemoApp holds exactly the 1.1 files" || fail "C:\\DemoApp is not the 1.1 version"
wine reg query 'HKCU\Software\ZuliDemo\DemoApp' /v Version 2>/dev/null | grep -q Version &&
    pass "the registry value was written" || fail "the registry value Version is missing"

finish
