#!/usr/bin/env bash
# Checks that the C++ files a change touches follow .clang-format (clang-format-14).
#   scripts/check-format.sh [BASE]
# A change is everything that differs from the commit BASE, committed or not: by default the
# commit named in scripts/format-base (the last one at which the whole tree was checked), so a
# clean clone of main checks every file changed since then; on a branch, pass its merge base
# (scripts/check-format.sh "$(git merge-base HEAD main)") to check the branch's own files.
set -euo pipefail
cd "$(dirname "$0")/.."
base=${1:-$(tr -d '[:space:]' < scripts/format-base)}
format=${CLANG_FORMAT:-clang-format-14}
mapfile -t files < <({
  git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h'
  git ls-files --others --exclude-standard -- '*.cpp' '*.h'
} | sort -u)
failed=0
for file in "${files[@]}"; do
  if ! "$format" --dry-run -Werror "$file" >/dev/null 2>&1; then
    echo "not formatted: $file (run: $format -i $file)" >&2
    failed=1
  fi
done
echo "${#files[@]} changed C++ files checked against .clang-format since $base"
exit $failed
