// A 3 x 5 pixel font of the ten digits, enough to write area codes.
'use strict';

const DIGITS = {
  0: ['###', '#.#', '#.#', '#.#', '###'],
  1: ['.#.', '##.', '.#.', '.#.', '###'],
  2: ['###', '..#', '###', '#..', '###'],
  3: ['###', '..#', '###', '..#', '###'],
  4: ['#.#', '#.#', '###', '..#', '..#'],
  5: ['###', '#..', '###', '..#', '###'],
  6: ['###', '#..', '###', '#.#', '###'],
  7: ['###', '..#', '..#', '..#', '..#'],
  8: ['###', '#.#', '###', '#.#', '###'],
  9: ['###', '#.#', '###', '..#', '###'],
};
const GLYPH_WIDTH = 3;
const GLYPH_HEIGHT = 5;

// The size of a text of digits with one pixel between glyphs.
function textSize(text) {
  return [text.length * (GLYPH_WIDTH + 1) - 1, GLYPH_HEIGHT];
}

// Writes `text` with its top left corner at (x, y) in colour c.
function drawText(picture, x, y, text, c) {
  [...text].forEach((ch, k) => {
    DIGITS[ch].forEach((row, dy) => {
      [...row].forEach((bit, dx) => {
        if (bit === '#') picture.set(x + k * (GLYPH_WIDTH + 1) + dx, y + dy, c);
      });
    });
  });
}

module.exports = { textSize, drawText };
