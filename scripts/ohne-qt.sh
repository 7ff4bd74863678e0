#!/usr/bin/env bash
# Fails when one of the given static libraries uses a Qt symbol: the engine,
# the turtle, the rules and the helpers are built on the standard library alone.
set -uo pipefail
status=0
for lib in "$@"; do
  treffer=$(nm -C --undefined-only "$lib" | grep -E '\bQ[A-Z][A-Za-z]+|\bqt_|Qt[0-9]')
  if [ -n "$treffer" ]; then
    echo "$(basename "$lib") benutzt Qt:"; echo "$treffer" | head -5; status=1
  fi
done
exit $status
