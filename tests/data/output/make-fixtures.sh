#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Rebuilds the output fixtures with the qn470 given (the tool as it was before a change):
#   tests/data/output/make-fixtures.sh OLD/qn470 build/tests/config/qn470_config_tests
# The test program writes the clear-text inputs; the old tool imports, encodes and images them.
set -euo pipefail
qn470=${1:?usage: make-fixtures.sh PATH/TO/OLD/qn470 PATH/TO/qn470_config_tests}
tests=${2:?usage: make-fixtures.sh PATH/TO/OLD/qn470 PATH/TO/qn470_config_tests}
here=$(cd "$(dirname "$0")" && pwd)
QN470_WRITE_OUTPUT_INPUTS=$here "$tests" --gtest_filter='OutputFixtures.*' >/dev/null
for ini in "$here"/record-*.ini; do
  base=${ini%.ini}
  "$qn470" import --lenient "$ini" "$base.pro" 2>/dev/null
  "$qn470" encode "$base.pro" >"$base.lines"
  "$qn470" bin "$base.pro" "$base.bin"
done
echo "fixtures written with $qn470"
