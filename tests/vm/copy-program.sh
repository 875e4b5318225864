# Sourced: copy_program TREE SOURCE DEST [ROOT] copies a program to TREE/DEST
# and every shared library it loads to the same path in TREE (libraries found
# under ROOT, an unpacked package tree, lose that prefix).
copy_program() {
  local tree="$1" source="$2" dest="$3" root="${4:-}" line library target
  mkdir -p "$tree/$(dirname "$dest")"
  cp -L "$source" "$tree/$dest"
  while read -r line; do
    case "$line" in
      *"not found"*) echo "vm: $source needs ${line%% *}, which is not installed" >&2; return 1 ;;
      *"=> /"*) library="${line#*=> }" ;;
      /*) library="$line" ;;
      *) continue ;;
    esac
    library="${library%% (*}"
    target="$(realpath "$(dirname "$library")")/$(basename "$library")"
    target="${target#"$root"}"
    [ -e "$tree$target" ] && continue
    mkdir -p "$tree$(dirname "$target")"
    cp -L "$library" "$tree$target"
  done < <(ldd "$source")
}
