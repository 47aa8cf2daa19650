#!/usr/bin/env bash
# exported_names_test.sh LIBRARY: the own library's dynamic symbol table holds
# the interface's entry points and nothing else, so a binding that looks a
# name up finds only what the interface promises and no runtime internals.
set -euo pipefail
library=${1:?usage: exported_names_test.sh LIBRARY}
expected="RARCloseArchive
RARGetDllVersion
RAROpenArchive
RARProcessFile
RARReadHeader
RARReadHeaderEx
RARSetChangeVolProc
RARSetPassword
RARSetProcessDataProc"
# Weak and undefined symbols are the C runtime's hooks, not exports.
actual=$(nm -D --defined-only "$library" | awk '$2 ~ /^[TDBR]$/ { print $3 }' | sort)
if [ "$actual" != "$expected" ]; then
  echo "exported names differ from the interface's:" >&2
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  exit 1
fi
echo "$(echo "$actual" | wc -l) exported names, as the interface lists them"
