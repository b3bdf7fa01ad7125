#!/usr/bin/env bash
# The include rule the source folders show: Base/ includes nothing of ours, Entries/ and Win/
# only Base/ and themselves; Forms/ and Program.cpp may include anything. Names each violation.
set -euo pipefail
src="${1:?usage: check-include-rule.sh SRC_DIR}"

allowed_for() {  # folder -> the folders its files may include
    case "$1" in
        Base)    echo "Base" ;;
        Entries) echo "Base Entries" ;;
        Win)     echo "Base Win" ;;
    esac
}

violations=0
for folder in Base Entries Win; do
    allowed=$(allowed_for "$folder")
    while IFS=: read -r file line text; do
        target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$text")
        top=${target%%/*}
        [ "$top" != "$target" ] && [[ " $allowed " == *" $top "* ]] && continue
        echo "${file#"$src"/}:$line: includes \"$target\"; $folder/ may include only: $allowed"
        violations=$((violations + 1))
    done < <(grep -nHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$src/$folder"/*.h "$src/$folder"/*.cpp || true)
done

[ "$violations" -eq 0 ] || { echo "$violations include(s) break the folder rule"; exit 1; }
echo "include rule kept in Base/, Entries/ and Win/"
