#!/usr/bin/env bash
# The C++ sources follow the repository's .clang-format: lists every file clang-format would
# change and fails if there is one. Fix them with: scripts/format-check.sh --fix
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=$(command -v clang-format-14 || command -v clang-format || true)
if [[ -z "$clang_format" ]]; then
    echo "format-check: clang-format is missing (apt-get install clang-format)" >&2
    exit 1
fi
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
if ((${#files[@]} < 100)); then
    echo "format-check: only ${#files[@]} C++ files found; run it inside the repository" >&2
    exit 1
fi
if [[ "${1:-}" == "--fix" ]]; then
    "$clang_format" -i "${files[@]}"
    exit 0
fi
off=()
for file in "${files[@]}"; do
    "$clang_format" --dry-run --Werror "$file" >/dev/null 2>&1 || off+=("$file")
done
if ((${#off[@]} > 0)); then
    printf 'not formatted: %s\n' "${off[@]}" >&2
    echo "format-check: ${#off[@]} of ${#files[@]} files differ from .clang-format;" \
        "scripts/format-check.sh --fix formats them" >&2
    exit 1
fi
echo "format-check: ${#files[@]} files formatted"
