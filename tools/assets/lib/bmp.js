// Writes 16-colour (4 bits per pixel) Windows bitmaps with the standard
// 16-colour palette, the format of the program's pictures.
'use strict';

// The Windows 16-colour palette, in its usual order.
const PALETTE = [
  [0, 0, 0], [128, 0, 0], [0, 128, 0], [128, 128, 0],
  [0, 0, 128], [128, 0, 128], [0, 128, 128], [192, 192, 192],
  [128, 128, 128], [255, 0, 0], [0, 255, 0], [255, 255, 0],
  [0, 0, 255], [255, 0, 255], [0, 255, 255], [255, 255, 255],
];

// Palette indexes by colour name.
const C = {
  black: 0, maroon: 1, green: 2, olive: 3, navy: 4, purple: 5, teal: 6, silver: 7,
  gray: 8, red: 9, lime: 10, yellow: 11, blue: 12, fuchsia: 13, aqua: 14, white: 15,
};

// A picture of palette indexes, row by row from the top.
class Picture {
  constructor(width, height, fill) {
    this.width = width;
    this.height = height;
    this.pixels = new Uint8Array(width * height).fill(fill || 0);
  }
  inside(x, y) {
    return x >= 0 && y >= 0 && x < this.width && y < this.height;
  }
  get(x, y) {
    return this.pixels[y * this.width + x];
  }
  set(x, y, c) {
    if (this.inside(x, y)) this.pixels[y * this.width + x] = c;
  }
}

// The bytes of a bottom-up, uncompressed 4-bit bitmap file.
function encode(picture) {
  const rowBytes = (Math.ceil(picture.width / 2) + 3) & ~3;
  const paletteBytes = 16 * 4;
  const offset = 14 + 40 + paletteBytes;
  const size = offset + rowBytes * picture.height;
  const buf = Buffer.alloc(size);
  buf.write('BM', 0, 'latin1');
  buf.writeUInt32LE(size, 2);
  buf.writeUInt32LE(offset, 10);
  buf.writeUInt32LE(40, 14);
  buf.writeInt32LE(picture.width, 18);
  buf.writeInt32LE(picture.height, 22);
  buf.writeUInt16LE(1, 26);
  buf.writeUInt16LE(4, 28);
  buf.writeUInt32LE(0, 30);
  buf.writeUInt32LE(rowBytes * picture.height, 34);
  buf.writeInt32LE(3780, 38);
  buf.writeInt32LE(3780, 42);
  buf.writeUInt32LE(16, 46);
  buf.writeUInt32LE(16, 50);
  PALETTE.forEach(([r, g, b], i) => {
    buf[54 + i * 4] = b;
    buf[54 + i * 4 + 1] = g;
    buf[54 + i * 4 + 2] = r;
  });
  for (let y = 0; y < picture.height; ++y) {
    const row = offset + (picture.height - 1 - y) * rowBytes;
    for (let x = 0; x < picture.width; ++x) {
      const c = picture.get(x, y);
      buf[row + (x >> 1)] |= x & 1 ? c : c << 4;
    }
  }
  return buf;
}

module.exports = { PALETTE, C, Picture, encode };
