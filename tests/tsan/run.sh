#!/usr/bin/env bash
# Builds the tests of the code that runs on several threads with the "tsan"
# preset (clang, ThreadSanitizer, build/tsan) and runs them. Fails on any
# report; tests/tsan.supp holds the reports of uninstrumented libraries,
# one line each with its reason.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

command -v clang++ >/dev/null || { echo "tsan: clang++ is missing (scripts/install-deps installs it)" >&2; exit 1; }
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j2 --target tsan_tests
TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp halt_on_error=1 second_deadlock_stack=1" \
  LC_ALL=C build/tsan/bin/tsan_tests --gtest_brief=1
