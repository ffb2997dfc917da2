#!/usr/bin/env bash
# Fails when the resampler's list building or passes in the 32-bit library use
# the x87 unit: its 80-bit registers would give other bits than the SSE2
# arithmetic of the other build. (The test-only resample_math wrappers and
# ScaleFactor return their value on the x87 stack, as the calling convention
# demands; they are not checked.)
set -euo pipefail
objdump=$1
library=$2
"$objdump" -d --no-show-raw-insn -C "$library" | awk '
  /^[0-9a-f]+ <.*>:$/ { fn = $0; checked = (fn ~ /resample_detail::|ResampleInto|ResampleBitmap/ && fn !~ /ScaleFactor/); next }
  checked && $2 ~ /^f(ld|st|ild|ist|isttp|add|sub|mul|div|com|ucom|xch|rndint|sin|cos|sqrt)/ {
    print "x87 instruction in " fn ": " $0; bad = 1
  }
  END { exit bad }'
