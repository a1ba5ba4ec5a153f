#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
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
# One clang-format for all of them; only when that finds something is each file asked alone, to
# name it.
failed=0
if [ ${#files[@]} -gt 0 ] && ! "$format" --dry-run -Werror "${files[@]}" >/dev/null 2>&1; then
  for file in "${files[@]}"; do
    if ! "$format" --dry-run -Werror "$file" >/dev/null 2>&1; then
      echo "not formatted: $file (run: $format -i $file)" >&2
      failed=1
    fi
  done
fi
echo "${#files[@]} changed C++ files checked against .clang-format since $base"
exit $failed
