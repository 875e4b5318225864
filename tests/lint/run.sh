#!/usr/bin/env bash
# The static checks: clang-tidy over src/ and tools/ (tests/lint/tidy.py,
# from the "fuzz" preset's compile database, results cached by content
# hash), and clang-format over every C++ file of the project (the
# checked-in .clang-format). Fails on any finding.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

for tool in clang-tidy clang-format; do
  command -v $tool >/dev/null || { echo "lint: $tool is missing (scripts/install-deps installs it)" >&2; exit 1; }
done
# The fuzz preset configured apart: the fuzz run builds in build/fuzz meanwhile.
cmake --preset fuzz -B build/lint >/dev/null
status=0
python3 tests/lint/tidy.py || status=1
mapfile -t sources < <(find src tools tests bench \( -name '*.cpp' -o -name '*.h' \) -print | sort)
if ! clang-format --dry-run --Werror "${sources[@]}"; then
  echo "clang-format: the files above are not formatted (clang-format -i FILE)" >&2
  status=1
else
  echo "clang-format: ${#sources[@]} files formatted"
fi
exit $status
