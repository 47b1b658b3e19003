// Writes the US maps and their hit-test table into assets/maps/:
//   us_small.bmp  464 x 231, the 48 contiguous states
//   us_big.bmp    922 x 462, the same map drawn at twice the scale
//   hit_runs.csv  the yellow interior of every state of the small map as
//                 horizontal runs, grouped in the five blocks the program reads
// The states come from the Census outlines of the us-atlas package, placed by
//   x = (130.5 - |longitude|) * 50/7,  y = (50 - |latitude|) * 100/11
// (doubled for the big map), the projection the program uses for zip dots.
// Every state piece is filled yellow and outlined in black on silver; Lake
// Michigan is closed off and hatched cyan. Rerunning reproduces the files.
'use strict';
const fs = require('fs');
const path = require('path');
const { C, Picture, encode } = require('./lib/bmp.js');
const { labelShapes, outline, ownShare, connected } = require('./lib/raster.js');
const { stateOutlines } = require('./lib/states.js');

const LAKE = -1;

function project(scale) {
  return ([lon, lat]) => [
    (130.5 - Math.abs(lon)) * (50 / 7) * scale,
    (50 - Math.abs(lat)) * (100 / 11) * scale,
  ];
}

// Lake Michigan: the open water reached from the middle of the lake without
// leaving the box from Chicago to Green Bay; the box's eastern side crosses
// the Straits of Mackinac, which closes the lake off from Lake Huron.
const LAKE_BOX = { west: -88.3, east: -84.78, south: 41.4, north: 46.2 };
const LAKE_MIDDLE = [-87.0, 43.5];

function markLake(labels, width, height, toPixel) {
  const [west, north] = toPixel([LAKE_BOX.west, LAKE_BOX.north]);
  const [east, south] = toPixel([LAKE_BOX.east, LAKE_BOX.south]);
  const [mx, my] = toPixel(LAKE_MIDDLE).map(Math.trunc);
  const water = connected(width, height, mx, my, (i) => {
    const x = i % width;
    const y = Math.floor(i / width);
    return labels[i] === 0 && x + 0.5 >= west && x + 0.5 < east && y + 0.5 >= north && y + 0.5 < south;
  });
  water.forEach((w, i) => {
    if (w) labels[i] = LAKE;
  });
}

// Draws the map at `scale`; returns the picture and, per pixel, the index of
// the state whose yellow interior it is (-1 elsewhere).
function drawMap(states, width, height, scale) {
  const toPixel = project(scale);
  const shapes = [];
  states.forEach((s, si) => {
    s.polygons.forEach((poly, pi) => {
      shapes.push({ label: si * 1000 + pi + 1, rings: poly.map((ring) => ring.map(toPixel)) });
    });
  });
  const labels = labelShapes(width, height, shapes);
  markLake(labels, width, height, toPixel);
  const share = ownShare(labels, width, height, shapes, 4, (l) => (l === LAKE ? 0 : l));
  const border = outline(labels, width, height, share);
  const picture = new Picture(width, height, C.silver);
  const owner = new Int32Array(width * height).fill(-1);
  for (let i = 0; i < labels.length; ++i) {
    const x = i % width;
    const y = Math.floor(i / width);
    if (border[i]) {
      picture.set(x, y, C.black);
    } else if (labels[i] === LAKE) {
      picture.set(x, y, (x + y) % 4 === 0 ? C.aqua : C.silver);
    } else if (labels[i] > 0) {
      picture.set(x, y, C.yellow);
      owner[i] = Math.floor((labels[i] - 1) / 1000);
    }
  }
  return { picture, owner };
}

// The rows each block of the hit-test table holds; a row listed twice goes
// to the first block that lists it. Blocks 4 and 2 also take the rows above
// and below the map.
const BLOCK_ROWS = [
  [[10, 14], [100, 143]],
  [[15, 33], [145, 230]],
  [[37, 81]],
  [[0, 9], [84, 99]],
  [[33, 37], [82, 84], [143, 145]],
];

function blockOfRow(y) {
  return BLOCK_ROWS.findIndex((spans) => spans.some(([a, b]) => y >= a && y <= b)) + 1;
}

// block,y,x1,x2,code: runs of yellow pixels of one state along a row.
function hitRuns(map, states) {
  const { picture, owner } = map;
  const runs = [];
  for (let y = 0; y < picture.height; ++y) {
    let x = 0;
    while (x < picture.width) {
      const s = owner[y * picture.width + x];
      if (s < 0) {
        ++x;
        continue;
      }
      const x1 = x;
      while (x + 1 < picture.width && owner[y * picture.width + x + 1] === s) ++x;
      runs.push({ block: blockOfRow(y), y, x1, x2: x, code: states[s].code });
      ++x;
    }
  }
  runs.sort((a, b) => a.block - b.block || a.y - b.y || a.x1 - b.x1);
  return ['block,y,x1,x2,code', ...runs.map((r) => [r.block, r.y, r.x1, r.x2, r.code].join(','))];
}

function main(outDir) {
  const states = stateOutlines().filter((s) => s.onMap);
  fs.mkdirSync(path.join(outDir, 'maps'), { recursive: true });
  const small = drawMap(states, 464, 231, 1);
  const big = drawMap(states, 922, 462, 2);
  fs.writeFileSync(path.join(outDir, 'maps', 'us_small.bmp'), encode(small.picture));
  fs.writeFileSync(path.join(outDir, 'maps', 'us_big.bmp'), encode(big.picture));
  const runs = hitRuns(small, states);
  fs.writeFileSync(path.join(outDir, 'maps', 'hit_runs.csv'), runs.join('\n') + '\n');
  console.log(`maps/us_small.bmp, maps/us_big.bmp, maps/hit_runs.csv: ${runs.length - 1} runs`);
}

main(process.argv[2] || path.join(__dirname, '..', '..', 'assets'));
