// Decodes a LAZ file with laz-perf (an independent LAZ implementation) and writes
// the point records it decodes, back to back, to OUT. Prints "count format length".
//   node laz-decode.js IN.laz OUT.bin
'use strict';
const fs = require('fs');
const { createLazPerf } = require('laz-perf');

async function main() {
  const [input, output] = process.argv.slice(2);
  if (!input || !output) throw new Error('usage: node laz-decode.js IN.laz OUT.bin');
  const bytes = fs.readFileSync(input);
  const lp = await createLazPerf();
  const filePtr = lp._malloc(bytes.length);
  lp.HEAPU8.set(bytes, filePtr);
  const laszip = new lp.LASZip();
  try {
    laszip.open(filePtr, bytes.length);
    const count = laszip.getCount();
    const length = laszip.getPointLength();
    const format = laszip.getPointFormat();
    const pointPtr = lp._malloc(length);
    const fd = fs.openSync(output, 'w');
    const batch = Buffer.alloc(length * 4096);
    let filled = 0;
    for (let i = 0; i < count; ++i) {
      laszip.getPoint(pointPtr);
      batch.set(lp.HEAPU8.subarray(pointPtr, pointPtr + length), filled);
      filled += length;
      if (filled === batch.length) {
        fs.writeSync(fd, batch, 0, filled);
        filled = 0;
      }
    }
    if (filled > 0) fs.writeSync(fd, batch, 0, filled);
    fs.closeSync(fd);
    lp._free(pointPtr);
    console.log(`${count} ${format} ${length}`);
  } finally {
    laszip.delete();
    lp._free(filePtr);
  }
}

main().catch((e) => {
  console.error(`laz-decode: ${e && e.message ? e.message : e}`);
  process.exit(1);
});
