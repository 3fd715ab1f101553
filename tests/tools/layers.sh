#!/usr/bin/env bash
# The layer check passes on the tree and fails on a tree that includes upwards
# or names an edge it does not use.
. "$(dirname "$0")/lib.sh"
checker="$QV_SOURCE_DIR/tools/check-layers.py"

python3 "$checker" "$QV_SOURCE_DIR" >/dev/null
check "the tree includes only downwards" 0 $?

mkdir -p fake/cmake fake/src/core fake/src/storage
printf 'core:\nstorage: core\n' >fake/cmake/Layers.txt
printf '#include "core/a.h"\n' >fake/src/storage/b.cpp
printf '#include "core/a.h"\n' >fake/src/core/a.cpp
python3 "$checker" fake >out.txt
check "a clean fake tree passes" 0 $?

printf '#include "storage/b.h"\n' >fake/src/core/c.h
python3 "$checker" fake >out.txt
check "an upward include fails" 1 $?
check "the fault names file, line and libraries" \
  'src/core/c.h:1: "core" includes "storage", which is not below it' "$(cat out.txt)"
rm fake/src/core/c.h

printf '#include "storage/b.h"\n' >fake/src/storage/b.cpp
python3 "$checker" fake >out.txt
check "an unused edge fails" 'cmake/Layers.txt: "storage" builds on "core" but includes nothing of it' "$(cat out.txt)"

mkdir fake/src/stray
python3 "$checker" fake >out.txt
check "a folder without a layer fails" 1 $?
finish
