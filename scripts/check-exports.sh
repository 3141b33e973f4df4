#!/bin/sh
# Fails unless the library exports exactly LoadTarvolanModule.
lib="$1"
exported=$(nm -D --defined-only "$lib" | awk '{print $3}' | grep -v -x -e _init -e _fini | sort -u)
if [ "$exported" != "LoadTarvolanModule" ]; then
  echo "unexpected exports of $lib:"; echo "$exported"; exit 1
fi
echo "1 passed, 0 failed"
