#!/bin/bash
# The Win32 adapters' own tests, which need the display this rig provides.
source "$(dirname "$0")/../lib.sh"
e2e_start

tests="$KIVO_WIN32_BUILD/tests/e2e/kivo_win32_adapter_tests.exe"
[[ -f $tests ]] || fail "missing $tests: build the win32 preset first"
status=0
timeout 120 wine "$tests" </dev/null >"$OUT/adapter-tests.log" 2>&1 || status=$?
grep -E '^\[  (PASSED|FAILED) ' "$OUT/adapter-tests.log" || true
((status == 0)) || fail "adapter tests failed with $status (see $OUT/adapter-tests.log)"
e2e_log "ok: adapter tests passed"
