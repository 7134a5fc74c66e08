#!/bin/bash
# Kills the real program with SIGKILL at random moments while a scripted
# user draws, 100 times (or $1), and prints what each restart found.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${TAV_BUILD_DIR:-$root/build}"
cmake --build "$build" --target tavelmark test_sessioncrash_x11
# A hundred runs outlast the test framework's five-minute watchdog.
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 LANGUAGE= TAV_CRASH_RUNS="${1:-100}" QTEST_FUNCTION_TIMEOUT=7200000
"$root/tests/x11-session.sh" --wm -- "$build/tests/app/test_sessioncrash_x11" killedWhileDrawing \
    2>&1 | grep -E "QINFO|FAIL|Totals" | sed 's/^QINFO  : TestSessionCrashX11::killedWhileDrawing() //'
