#!/usr/bin/env bash
# Fails when an #include points up the layers of the library: the frame at the
# bottom, the indicator families above it, the public layer (and anything else
# under src/) on top. The frame includes only the frame and the public
# headers of include/; a family includes the frame and families.
#
#   check_layers.sh SRC_DIR FRAME FAMILY...
#
# An include is looked up beside the including file first, then under SRC_DIR;
# one found in neither (a system or public header) is not a layer's.
set -uo pipefail

src=$(realpath "$1")
frame=$2
shift 2
families=" $* "

rank() { # LAYER: 0 the frame, 1 a family, 2 anything above
    if [[ $1 == "$frame" ]]; then echo 0
    elif [[ $families == *" $1 "* ]]; then echo 1
    else echo 2
    fi
}

include_line='^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]+)[">]'
violations=0
for layer in "$frame" "$@"; do
    [[ -d $src/$layer ]] || { echo "check_layers: no directory $src/$layer"; exit 1; }
    own_rank=$(rank "$layer")
    while IFS= read -r -d '' file; do
        line_number=0
        while IFS= read -r line; do
            line_number=$((line_number + 1))
            [[ $line =~ $include_line ]] || continue
            included=${BASH_REMATCH[1]}
            target=""
            for candidate in "$(dirname "$file")/$included" "$src/$included"; do
                if [[ -f $candidate ]]; then target=$(realpath "$candidate"); break; fi
            done
            [[ $target == "$src"/*/* ]] || continue
            target_layer=${target#"$src"/}
            target_layer=${target_layer%%/*}
            if (($(rank "$target_layer") > own_rank)); then
                echo "${file#"$src"/}:$line_number: $layer includes $included, of the layer $target_layer above it"
                violations=$((violations + 1))
            fi
        done <"$file"
    done < <(find "$src/$layer" -type f -print0 | sort -z)
done

if ((violations > 0)); then
    echo "check_layers: $violations include(s) point up the layers"
    exit 1
fi
echo "check_layers: every include of the frame and the families points down or across"
