# Puts a staged update in place of the install folder once the program has ended.
# Arguments: the program's process id, the install folder, the staged folder, the stage to remove,
# 1 to start the program again, the program inside the folder, the folder-swapping helper.
pid=$1 target=$2 staged=$3 stage=$4 relaunch=$5 program=$6 exchange=$7
while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done

# The copy is made beside the install folder, so the swap is a rename on one file system.
parent=$(dirname "$target")
new="$parent/.$(basename "$target").new-$$"
old="$parent/.$(basename "$target").old-$$"

# In one step where the file system allows; else in two renames, with the old folder put back if
# the second one fails.
swap() {
  if [ -x "$exchange" ] && "$exchange" "$new" "$target" 2>/dev/null; then
    mv "$new" "$old"
    return 0
  fi
  mv "$target" "$old" || return 1
  mv "$new" "$target" && return 0
  mv "$old" "$target"
  return 1
}

if cp -a "$staged" "$new" && swap; then
  rm -rf "$old"
else
  rm -rf "$new"
fi
rm -rf "$stage"
if [ "$relaunch" = 1 ]; then
  exec "$target/$program" </dev/null
fi
