#!/usr/bin/env bash
# Test lines against program lines, counted as CI counts them: tracked files, non-blank lines that
# are not comments. Exits non-zero when the tests exceed the limit (per cent of the program code).
#   scripts/test-ratio.sh [LIMIT]     (default 40)
# The program: every C++ file (.cpp, .h) that a build of the program compiles. The tests: the test
# folders (tests/, and tests/ beside each folder's code, their support included), the test doubles
# (platform/fake/), the fuzz targets (fuzz/), and the scripts that exist only to test (the package
# test, the e2e and Wine scenarios, the fuzz, sanitizer and Windows-test scripts). What measures
# the program or its tests without testing anything is neither: the benchmarks (bench/), the
# mutation run (scripts/mutate.py) and this count.
set -euo pipefail
cd "$(dirname "$0")/.."
limit=${1:-40}
[[ $limit =~ ^[0-9]+$ ]] || { echo "usage: scripts/test-ratio.sh [LIMIT in per cent]" >&2; exit 2; }

tests_pattern='(^|/)tests?/|^fuzz/|^platform/fake/|_test\.(sh|py)$|test_[a-z_]*\.(sh|py)$'
tests_pattern+='|^scripts/(fuzz|fuzz-smoke|sanitize|windows-test|wine-run)\.sh$'
count() { xargs -r cat 2>/dev/null | grep -cvE '^\s*(//|#|$)' || true; }
code=$(git ls-files '*.cpp' '*.h' | grep -vE "$tests_pattern|^bench/" | count)
tests=$(git ls-files '*.cpp' '*.h' '*.py' '*.sh' | grep -E "$tests_pattern" | count)
ratio=$((code > 0 ? tests * 100 / code : 0))
echo "program code: $code lines; tests: $tests lines; tests / code: $ratio % (limit $limit %)"
if ((tests * 100 > code * limit)); then
  echo "test-ratio: the tests are more than $limit % of the program code" >&2
  exit 1
fi
