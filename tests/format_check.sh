#!/usr/bin/env bash
# format_check.sh ROOT: fails, naming the files, when a C++ source of the tree
# differs from what clang-format makes of it with the tree's .clang-format.
set -euo pipefail
root="$1"
cd "$root"
command -v clang-format >/dev/null || { echo "clang-format is not installed (scripts/setup.sh installs it)"; exit 1; }
differ=()
while IFS= read -r -d '' file; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || differ+=("$file")
done < <(find src tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if [ ${#differ[@]} -gt 0 ]; then
  printf 'differs from .clang-format: %s\n' "${differ[@]}"
  echo "run: clang-format -i FILE..."
  exit 1
fi
echo "every C++ file is formatted"
