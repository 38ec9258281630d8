#!/bin/sh
# SPDX-License-Identifier: BSD-3-Clause
# The shipped course documents are what the generator writes from their
# sources with the numbers of the current calculation: nobody edited the
# RTF by hand, and no change of the program left an answer stale.
# Usage: documents_generated_test.sh SOURCE_DIR ORBIX_CALC
set -eu
source=$1 calc=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
python3 "$source/docs/tools/make_documents.py" "$calc" "$scratch"
status=0
for n in 1 2 3; do
  if ! cmp -s "$scratch/document$n.rtf" "$source/docs/document$n.rtf"; then
    echo "FAIL: docs/document$n.rtf differs from what docs/tools/make_documents.py writes;" \
         "run it and commit the result:" >&2
    diff "$source/docs/document$n.rtf" "$scratch/document$n.rtf" | head -20 >&2 || true
    status=1
  fi
done
exit $status
