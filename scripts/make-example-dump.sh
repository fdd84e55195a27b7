#!/usr/bin/env bash
# Writes examples/viewer/scan.dump: a point dump as the viewer hands it to lasconsole
# for a LAS export (header 0x6A bytes, then 44-byte records), 3,000 points of three
# scan lines over a gentle slope with smooth colour and intensity.
#   scripts/make-example-dump.sh [OUT]
set -euo pipefail
out=${1:-$(dirname "$0")/../examples/viewer/scan.dump}
python3 - "$out" <<'PY'
import math, struct, sys
points = []
for i in range(3000):
    line, along = divmod(i, 1000)
    x = -12000.0 + (along if line % 2 == 0 else 999 - along) * 0.02
    y = 35000.0 + line * 0.05
    z = 50.0 + 0.1 * (x + 12000.0) + 0.02 * math.sin(along / 40.0)
    shade = int(128 + 100 * math.sin(along / 150.0))
    points.append((x, y, round(z, 3), shade, shade // 2, 255 - shade, 1200.0 + 400.0 * math.cos(i / 90.0)))

def smallest_scale(values, offset):
    # The viewer's rule: the smallest multiple of 0.0001 that brings every value into int32.
    span = max(abs(v - offset) for v in values)
    steps = max(1, math.ceil(span / 2147483647.0 / 0.0001))
    return steps * 0.0001

lo = [min(p[d] for p in points) for d in range(3)]
hi = [max(p[d] for p in points) for d in range(3)]
offsets = [lo[0] + (hi[0] - lo[0]) * 0.5, lo[1] + (hi[1] - lo[1]) * 0.5, lo[2]]
scales = [smallest_scale((lo[d], hi[d]), offsets[d]) for d in range(3)]
data = struct.pack("<IHi", 0x40474C56, 0x0100, len(points))
data += struct.pack("<6d", *lo, *hi) + struct.pack("<3d", *scales) + struct.pack("<3d", *offsets)
data += b"".join(struct.pack("<3d3id", *p) for p in points)
open(sys.argv[1], "wb").write(data)
PY
