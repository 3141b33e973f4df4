#!/bin/sh
# Fails unless each library carries its versioned soname, as objdump -p shows
# it, and the soname is a link beside it that leads to the library:
#   check-sonames.sh LIBRARY SONAME [LIBRARY SONAME ...]
# e.g. build/bin/libClientKit.so.1.0.0 libClientKit.so.1
passed=0 failed=0
while [ $# -ge 2 ]; do
  lib="$1" expected="$2"; shift 2
  soname=$(objdump -p "$lib" | awk '$1 == "SONAME" {print $2}')
  link="$(dirname "$lib")/$expected"
  if [ "$soname" != "$expected" ]; then
    echo "$lib: soname '$soname', expected '$expected'"; failed=$((failed + 1))
  elif [ ! -L "$link" ] || [ "$(readlink -f "$link")" != "$(readlink -f "$lib")" ]; then
    echo "$lib: $link is not a link to it"; failed=$((failed + 1))
  else
    echo "$lib: SONAME $soname"; passed=$((passed + 1))
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
