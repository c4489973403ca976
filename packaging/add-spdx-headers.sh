#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Puts the two licence lines at the top of every file git tracks that lacks them, in the file's
# own comment syntax: after a shebang line or an XML declaration, before anything else. Running
# it again changes nothing. Binary files and formats that hold no comments are covered by
# .reuse/dep5 and left alone; a file of a kind it does not know is listed and makes it fail.
#   packaging/add-spdx-headers.sh          (from anywhere inside the repository)
set -euo pipefail
cd "$(git rev-parse --show-toplevel)"

# Spelt in two parts, so that reuse does not take these lines for this script's own tags.
tag=SPDX
copyright="$tag-FileCopyrightText: 2026 The Tocklet developers"
license="$tag-License-Identifier: MIT"

# comment_style PATH: prints the comment syntax of PATH (slashes, hash, html, troff), "covered"
# for files .reuse/dep5 or a licence file speaks for, or nothing when it does not know.
comment_style() {
    local path=$1 name=${1##*/}
    case $path in
        LICENSE | LICENSES/* | .reuse/* | fuzz/corpus/* | *.png | packaging/changelog | packaging/copyright)
            echo covered; return ;;
    esac
    case $name in
        *.cpp | *.h | *.hpp | *.cc) echo slashes ;;
        CMakeLists.txt | *.cmake | *.sh | *.supp | *.desktop | *.yml | *.yaml | *.toml | *.py \
            | .gitignore | .gitattributes | .clang-format | .clang-tidy) echo hash ;;
        *.md | *.xml | *.qrc | *.ui | *.svg) echo html ;;
        *.[1-9]) echo troff ;;
        *) if head -c 2 "$path" | grep -q '^#!'; then echo hash; fi ;;
    esac
}

header_lines() {
    case $1 in
        slashes) printf '// %s\n// %s\n\n' "$copyright" "$license" ;;
        hash) printf '# %s\n# %s\n' "$copyright" "$license" ;;
        html) printf '<!-- %s -->\n<!-- %s -->\n' "$copyright" "$license" ;;
        troff) printf '.\\" %s\n.\\" %s\n' "$copyright" "$license" ;;
    esac
}

# add_header PATH STYLE: writes the header in place, keeping the file's mode and owner.
add_header() {
    local path=$1 style=$2 keep=0
    local first
    first=$(head -n 1 "$path")
    if [[ $first == '#!'* ]] || { [ "$style" = html ] && [[ $first == '<?xml'* ]]; }; then
        keep=1
    fi
    local temporary
    temporary=$(mktemp)
    {
        head -n "$keep" "$path"
        header_lines "$style"
        tail -n "+$((keep + 1))" "$path"
    } >"$temporary"
    cat "$temporary" >"$path"
    rm -f "$temporary"
}

added=0
unknown=()
while IFS= read -r -d '' path; do
    [ -f "$path" ] && [ ! -L "$path" ] || continue
    style=$(comment_style "$path")
    case $style in
        covered) continue ;;
        "") unknown+=("$path"); continue ;;
    esac
    # A file that names its licence near the top already has its header.
    head -n 5 "$path" | grep -q "$tag-License-Identifier:" && continue
    add_header "$path" "$style"
    added=$((added + 1))
done < <(git ls-files -z)

echo "add-spdx-headers: added the licence lines to $added files"
if [ ${#unknown[@]} -gt 0 ]; then
    echo "add-spdx-headers: files of a kind this script does not know; give them a header by hand or an entry in .reuse/dep5:" >&2
    printf '    %s\n' "${unknown[@]}" >&2
    exit 1
fi
