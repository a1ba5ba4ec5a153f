#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The licence line at the top of every source, script and CMake file of ours.
#   scripts/spdx.sh --check [FILE...]   lists the files without it; exit code 1 when there are any
#   scripts/spdx.sh --fix [FILE...]     adds it as the first line (after a shebang) where missing
# Without FILEs, every such file git tracks (the fuzz corpora are data, not sources).
set -euo pipefail
cd "$(dirname "$0")/.."

readonly tag='SPDX-License-Identifier: GPL-3.0-or-later'

usage() {
  echo "usage: $0 --check|--fix [FILE...]" >&2
  exit 2
}

# Files of ours that take the line: C++ sources and headers, shell and Python scripts, CMake files,
# and the scripts without an extension that start with a shebang.
tracked_files() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -- ':!fuzz/corpus/**'
  else  # an unpacked source archive: everything but build folders
    find . -type f -not -path './build*' -not -path './fuzz/corpus/*' -not -path './.*' | sed 's|^\./||'
  fi
}

our_files() {
  tracked_files | while IFS= read -r file; do
    case "$file" in
      .*) ;;  # the hidden folders hold no sources of ours
      *.cpp | *.h | *.c | *.sh | *.py | *.cmake | CMakeLists.txt | */CMakeLists.txt) echo "$file" ;;
      *) if [[ "${file##*/}" != *.* && -f "$file" ]] && head -c2 "$file" | grep -q '^#!'; then
           echo "$file"
         fi ;;
    esac
  done
}

comment_of() {
  case "$1" in
    *.cpp | *.h | *.c) echo "// $tag" ;;
    *) echo "# $tag" ;;
  esac
}

has_tag() {
  head -n2 "$1" | grep -qF "$tag"
}

add_tag() {
  local file=$1 line temp
  line=$(comment_of "$file")
  temp=$(mktemp "$file.XXXXXX")
  if head -c2 "$file" | grep -q '^#!'; then
    { head -n1 "$file"; echo "$line"; tail -n +2 "$file"; } >"$temp"
  else
    { echo "$line"; cat "$file"; } >"$temp"
  fi
  chmod --reference="$file" "$temp"
  mv "$temp" "$file"
}

[ $# -ge 1 ] || usage
mode=$1
shift
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(our_files)
fi

case "$mode" in
  --check)
    missing=0
    for file in "${files[@]}"; do
      if ! has_tag "$file"; then
        echo "$file"
        missing=1
      fi
    done
    exit "$missing"
    ;;
  --fix)
    for file in "${files[@]}"; do
      has_tag "$file" || add_tag "$file"
    done
    ;;
  *) usage ;;
esac
