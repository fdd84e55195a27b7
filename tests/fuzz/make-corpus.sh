#!/usr/bin/env bash
# Rebuilds the seed corpora in tests/fuzz/corpus/ from the project's own writers
# (make-hostfile, make-model, the plug-ins' data files, the examples) and small
# hand-made broken kinds. Usage: tests/fuzz/make-corpus.sh [BUILD_DIR]   (default build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=${1:-$root/build}/bin
corpus=$root/tests/fuzz/corpus
cd "$root"

hostfile() { "$bin/make-hostfile" "$@" >/dev/null; }

c=$corpus/host_data_file
hostfile --points 3 "$c/points3.dat"
hostfile --points 2 --tin 2 "$c/tin2.dat"
hostfile --cad 2 "$c/cad2.dat"
hostfile --part 2 "$c/part-drawing2.dat"
hostfile --points 2 --tin 1 --cad 1 --part 1 --name 点群 "$c/all.dat"
cp examples/viewer/cad-figures.dat "$c/cad-figures.dat"
for kind in magic version huge-count bad-index unterminated-string cut:40 cut:120; do
  hostfile --broken "$kind" "$c/broken-${kind/:/-}.dat"
done

c=$corpus/host_polygon_file
hostfile --overlay 1,1,1 "$c/one-each.dat"
hostfile --overlay 3,0,2 "$c/points-polygons.dat"
hostfile --overlay 0,0,0 "$c/empty.dat"
hostfile --overlay 2,2,2 --broken cut:150 "$c/cut.dat"

c=$corpus/model_file
"$bin/make-model" examples/models/small-site.txt "$c/site.tpf" >/dev/null
printf 'group g\np 0 0 1\np 1 0 2\n' > /tmp/tessara-corpus-small.txt
"$bin/make-model" /tmp/tessara-corpus-small.txt "$c/small.tpf" >/dev/null
rm -f /tmp/tessara-corpus-small.txt
head -c 100 "$c/site.tpf" > "$c/cut-site.tpf"
printf 'XXXXXXXX' > "$c/wrong-magic.tpf"

cp plugins/gnss/data/tab04827_2.vst plugins/ctrlpoint/data/tab00519.vst "$corpus/sheet_template/"
printf 'kind list\ncol a\tR\tx\tzz\tnope\n' > "$corpus/sheet_template/broken.vst"
cp plugins/levelling/data/form00963.frm "$corpus/form_template/"
printf '{"page": {"width_mm": -1}, "fields": [{"no": 0}]}' > "$corpus/form_template/broken.frm"
cp plugins/ctrlpoint/data/KjnHyoCmb.ini "$corpus/ini_file/"
printf '[a]\r\nk = "v"\r\n[\x95\x5d]\r\nx=1\r\n[unclosed\r\n=\r\n' > "$corpus/ini_file/odd.ini"
printf '[Recent File List]\nFile1=/tmp/a.tpf\n[Settings]\nPointSize=3\nScale=1.5\n' > "$corpus/ini_profile/viewer.ini"
printf '[Settings]\nPointSize="a, b"\n[%%General]\nk=@ByteArray(\\x00)\n' > "$corpus/ini_profile/odd.ini"
cp examples/parthost/testplugin.json examples/levelling/grade1.json "$corpus/seed/"
printf '{"parts": [{"program": -1}], "files": [{"folder": "x", "name": "../a"}]}' > "$corpus/seed/broken.json"

python3 - "$corpus" <<'PY'
import struct, sys
corpus = sys.argv[1]

def save(target, name, data):
    with open(f"{corpus}/{target}/{name}", "wb") as f:
        f.write(data)

# Pipe records: one record per served command, and two records in one input.
def record(code, path=b"/tmp/x.dat", extra=None):
    r = bytearray(589)
    r[0] = code
    r[5:5 + len(path)] = path
    if extra:
        for offset, value in extra:
            r[offset:offset + 4] = struct.pack("<i", value)
    return bytes(r)
for code in (1, 4, 11, 18, 19, 20, 21):
    save("pipe_record", f"code{code}.bin", record(code, extra=[(265, 3), (273, 1000)]))
save("pipe_record", "unterminated.bin", bytes([1]) + b"\x01" * 588)
save("pipe_record", "two-records.bin", record(20) + record(21))
save("pipe_record", "short.bin", b"\x04\x00")

# Bitmaps: 2x2 at every depth the reader takes, and broken kinds.
def bmp(bits, palette=b"", compression=0, width=2, height=2, pixels=None, masks=b""):
    stride = ((width * bits + 31) // 32) * 4
    if pixels is None:
        pixels = bytes((i * 37) & 0xFF for i in range(stride * abs(height)))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels), 2835, 2835,
                       len(palette) // 4, 0)
    offset = 14 + len(info) + len(masks) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + masks + palette + pixels
grey = lambda n: b"".join(bytes((i * 255 // max(n - 1, 1),) * 3 + (0,)) for i in range(n))
save("bmp", "1bit.bmp", bmp(1, grey(2)))
save("bmp", "4bit.bmp", bmp(4, grey(16)))
save("bmp", "8bit.bmp", bmp(8, grey(4)))
save("bmp", "16bit.bmp", bmp(16))
save("bmp", "24bit.bmp", bmp(24))
save("bmp", "32bit.bmp", bmp(32))
save("bmp", "32bit-fields.bmp", bmp(32, compression=3, masks=struct.pack("<III", 0xFF0000, 0xFF00, 0xFF)))
save("bmp", "top-down.bmp", bmp(24, height=-2))
save("bmp", "rle8.bmp", bmp(8, grey(2), compression=1))
save("bmp", "huge.bmp", bmp(24, width=0x7FFFFFFF, height=0x7FFFFFFF, pixels=b"\0" * 16))
save("bmp", "cut.bmp", bmp(24)[:60])

# Point dumps for lasconsole: header 0x6A bytes, then 44-byte records.
def dump(points, scale=0.01, magic=0x40474C56, count=None):
    n = len(points) if count is None else count
    head = struct.pack("<IHi", magic, 0x0100, n)
    xs = [p[0] for p in points] or [0]; ys = [p[1] for p in points] or [0]; zs = [p[2] for p in points] or [0]
    head += struct.pack("<6d", min(xs), min(ys), min(zs), max(xs), max(ys), max(zs))
    head += struct.pack("<3d", scale, scale, scale) + struct.pack("<3d", 0, 0, 0)
    body = b"".join(struct.pack("<3d3id", x, y, z, 10, 20, 30, 5.0) for x, y, z in points)
    return head + body
pts = [(1.0 * i, 2.0 * i, 0.5 * i) for i in range(7)]
save("point_dump", "seven.dump", dump(pts))
save("point_dump", "empty.dump", dump([]))
save("point_dump", "count-mismatch.dump", dump(pts, count=9))
save("point_dump", "zero-scale.dump", dump(pts[:2], scale=0.0))
save("point_dump", "out-of-range.dump", dump([(1e12, 0, 0)]))
save("point_dump", "wrong-magic.dump", dump(pts[:1], magic=1))
PY

# LAS files for lazpack: lasconsole's output of a dump, and broken kinds of it.
c=$corpus/las
mkdir -p "$c"
"$bin/lasconsole" "$corpus/point_dump/seven.dump" "$c/seven.las"
python3 - "$c" <<'PY'
import struct, sys
folder = sys.argv[1]
good = open(folder + "/seven.las", "rb").read()
def save(name, data):
    open(folder + "/" + name, "wb").write(data)
save("cut-header.las", good[:100])
save("cut-points.las", good[:-13])
save("huge-count.las", good[:107] + struct.pack("<I", 0xFFFFFFF0) + good[111:])
save("version-1-4.las", good[:25] + bytes([4]) + good[26:])
save("format-0.las", good[:104] + bytes([0]) + good[105:])
save("wrong-magic.las", b"LASX" + good[4:])
PY
echo "corpora in $corpus"
