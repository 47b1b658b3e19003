// Turns polygons into pictures: each pixel whose centre lies inside a shape
// takes the shape's label; outlines are drawn between differing labels.
'use strict';

// Labels every pixel by the shapes that cover its centre (even-odd rule over
// all rings of a shape). shapes: [{ label, rings: [[[x, y], ...], ...] }] in
// pixel units, x to the right and y downward. Later shapes win shared pixels.
function labelShapes(width, height, shapes) {
  const labels = new Int32Array(width * height);
  for (const shape of shapes) {
    const crossings = Array.from({ length: height }, () => []);
    for (const ring of shape.rings) {
      for (let i = 0; i < ring.length; ++i) {
        const [x1, y1] = ring[i];
        const [x2, y2] = ring[(i + 1) % ring.length];
        if (y1 === y2) continue;
        const top = Math.min(y1, y2);
        const bottom = Math.max(y1, y2);
        const first = Math.max(0, Math.ceil(top - 0.5));
        for (let y = first; y < height && y + 0.5 < bottom; ++y) {
          const yc = y + 0.5;
          if (yc < top) continue;
          crossings[y].push(x1 + ((yc - y1) * (x2 - x1)) / (y2 - y1));
        }
      }
    }
    crossings.forEach((xs, y) => {
      xs.sort((a, b) => a - b);
      for (let k = 0; k + 1 < xs.length; k += 2) {
        const from = Math.max(0, Math.ceil(xs[k] - 0.5));
        const to = Math.min(width, Math.ceil(xs[k + 1] - 0.5));
        for (let x = from; x < to; ++x) labels[y * width + x] = shape.label;
      }
    });
  }
  return labels;
}

// Marks the outline: a pixel whose right or lower neighbour carries another
// label (outside the picture counts as label 0). Every pair of side-by-side
// pixels with different labels then has one marked pixel, so a four-way fill
// never crosses from one label to another.
// Marks the outline: of two side-by-side pixels with differing labels, the
// one less covered by its own label (sampled on an n-by-n grid inside the
// pixel) turns black, so a pixel the border only grazes keeps its colour and
// one the border cuts through the middle gives way. `share` comes from
// ownShare; without it the left or upper pixel of the two is marked.
function outline(labels, width, height, share) {
  const marks = new Uint8Array(width * height);
  const mark = (i, j) => {
    if (share && share[j] < share[i]) marks[j] = 1;
    else marks[i] = 1;
  };
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const i = y * width + x;
      const l = labels[i];
      if (x + 1 >= width) {
        if (l !== 0) marks[i] = 1;
      } else if (l !== labels[i + 1]) {
        mark(i, i + 1);
      }
      if (y + 1 >= height) {
        if (l !== 0) marks[i] = 1;
      } else if (l !== labels[i + width]) {
        mark(i, i + width);
      }
    }
  }
  return marks;
}

// The share of each pixel's area, sampled on an n-by-n grid, that the
// pixel's own label covers (`own` maps a label to the one the shapes give).
function ownShare(labels, width, height, shapes, n, own = (l) => l) {
  const fine = labelShapes(
    width * n,
    height * n,
    shapes.map((s) => ({ label: s.label, rings: s.rings.map((r) => r.map(([x, y]) => [x * n, y * n])) })),
  );
  const share = new Float32Array(width * height);
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const want = own(labels[y * width + x]);
      let hits = 0;
      for (let dy = 0; dy < n; ++dy) {
        for (let dx = 0; dx < n; ++dx) {
          if (fine[(y * n + dy) * width * n + x * n + dx] === want) ++hits;
        }
      }
      share[y * width + x] = hits / (n * n);
    }
  }
  return share;
}

// The pixels four-way connected to (x, y) that satisfy accept(index).
function connected(width, height, x, y, accept) {
  const picked = new Uint8Array(width * height);
  const stack = [y * width + x];
  while (stack.length) {
    const i = stack.pop();
    if (picked[i] || !accept(i)) continue;
    picked[i] = 1;
    const px = i % width;
    if (px > 0) stack.push(i - 1);
    if (px + 1 < width) stack.push(i + 1);
    if (i >= width) stack.push(i - width);
    if (i + width < width * height) stack.push(i + width);
  }
  return picked;
}

module.exports = { labelShapes, outline, ownShare, connected };
