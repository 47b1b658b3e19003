// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
// Draws the filter pictures: the two glyphs of the main window's filter
// button (a funnel, filled when a filter is active, hollow and crossed out
// when not) and the filter list's animation (a funnel with drops falling
// through it, eight frames side by side). 24-bit Windows bitmaps, drawn
// from geometry here, no source data.
'use strict';
const fs = require('fs');
const path = require('path');

function bmp(width, height, pixel) {
  const row = Math.ceil((width * 3) / 4) * 4;
  const size = 54 + row * height;
  const b = Buffer.alloc(size);
  b.write('BM', 0, 'ascii');
  b.writeUInt32LE(size, 2);
  b.writeUInt32LE(54, 10);
  b.writeUInt32LE(40, 14);
  b.writeInt32LE(width, 18);
  b.writeInt32LE(height, 22);
  b.writeUInt16LE(1, 26);
  b.writeUInt16LE(24, 28);
  b.writeUInt32LE(row * height, 34);
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      const [r, g, bl] = pixel(x, y);
      const o = 54 + (height - 1 - y) * row + x * 3;
      b[o] = bl;
      b[o + 1] = g;
      b[o + 2] = r;
    }
  }
  return b;
}

// Inside the funnel of a picture `s` pixels square, x and y in pixels.
function funnel(x, y, s) {
  const u = (x + 0.5) / s, v = (y + 0.5) / s;
  if (v < 0.12 || v > 0.92) return 'out';
  const half = v < 0.5 ? 0.44 - (v - 0.12) * 0.9 : 0.1;
  const d = Math.abs(u - 0.5);
  if (d > half) return 'out';
  if (d > half - 1.6 / s || v < 0.12 + 1.6 / s || v > 0.92 - 1.6 / s) return 'edge';
  return 'in';
}

const white = [255, 255, 255], black = [0, 0, 0], navy = [0, 0, 128];
const glyph = (active) => bmp(16, 16, (x, y) => {
  const f = funnel(x, y, 16);
  if (active) return f === 'out' ? white : f === 'edge' ? navy : [255, 215, 0];
  if (Math.abs(x - (15 - y)) < 0.8 && x > 1 && x < 14) return [200, 0, 0];
  return f === 'edge' ? [128, 128, 128] : white;
});

const frames = 8, s = 32;
const animation = bmp(s * frames, s, (x, y) => {
  const frame = Math.floor(x / s), fx = x % s;
  const f = funnel(fx, y, s);
  if (f === 'edge') return navy;
  if (f === 'in' && y > s * (0.5 - frame * 0.04)) return [0, 128, 255];
  // A drop below the spout, falling one step each frame.
  const dropY = s * 0.93 + ((frame * 3) % 8) * 0.25;
  if (Math.hypot(fx + 0.5 - s / 2, y + 0.5 - dropY) < 1.3) return [0, 96, 224];
  return f === 'in' ? white : [192, 192, 192];
});

const out = path.join(process.argv[2] || path.join(__dirname, '../../assets'), 'filter');
fs.mkdirSync(out, { recursive: true });
fs.writeFileSync(path.join(out, 'flt_on.bmp'), glyph(true));
fs.writeFileSync(path.join(out, 'flt_off.bmp'), glyph(false));
fs.writeFileSync(path.join(out, 'animation.bmp'), animation);
