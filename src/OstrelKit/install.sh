# Puts a staged update in place of the install folder once the program has ended; what goes wrong is
# left in the stage for the program's next start to say.
# Arguments: the program's process id, the install folder, the staged folder, 1 to start the program
# again, the program inside the folder, the folder-swapping helper, the folder the program was started
# in, and the open file through which the program held the staged folder, now held by this script.
pid=$1 target=$2 staged=$3 relaunch=$4 program=$5 exchange=$6 workdir=$7 held=$8
stage=$(dirname "$staged") version=$(basename "$staged")
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

# The reason is the end of the last message: "No space left on device".
if problem=$(cp -a "$staged" "$new" 2>&1) && problem=$(swap 2>&1); then
  rm -rf "$old"
else
  rm -rf "$new"
  reason=$(printf '%s\n' "$problem" | tail -n 1 | sed 's/.*: //')
  printf '%s\n%s\n' "$version" "$reason" >"$stage/install-failed"
fi
# Another copy running from this folder may still mean to install it.
if flock -n -x "$held"; then
  rm -rf "$staged"
  rmdir "$stage" 2>/dev/null
fi
flock -u "$held"
if [ "$relaunch" = 1 ]; then
  cd "$workdir" 2>/dev/null || cd /
  exec "$target/$program" </dev/null
fi
