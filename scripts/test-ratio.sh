#!/usr/bin/env bash
# Test lines against program lines, counted as CI counts them: tracked files, non-blank lines that
# are not comments. Exits non-zero when the tests exceed the limit (per cent of the program code).
#   scripts/test-ratio.sh [LIMIT]     (default 40)
set -euo pipefail
cd "$(dirname "$0")/.."
limit=${1:-40}
[[ $limit =~ ^[0-9]+$ ]] || { echo "usage: scripts/test-ratio.sh [LIMIT in per cent]" >&2; exit 2; }

count() { xargs -r cat 2>/dev/null | grep -cvE '^\s*(//|#|$)' || true; }
code=$(git ls-files '*.cpp' '*.h' | grep -vE '(^|/)tests?/|^fuzz/|^bench/' | count)
tests=$(git ls-files '*.cpp' '*.h' '*.py' '*.sh' |
  grep -E '(^|/)tests?/|^fuzz/|_test\.(sh|py)$|test_[a-z_]*\.(sh|py)$' | count)
ratio=$((code > 0 ? tests * 100 / code : 0))
echo "program code: $code lines; tests: $tests lines; tests / code: $ratio % (limit $limit %)"
if ((tests * 100 > code * limit)); then
  echo "test-ratio: the tests are more than $limit % of the program code" >&2
  exit 1
fi
