// Writes assets/maps/world.bmp: a 329 x 219 picture of the world for the
// Country analysis and the main window, from the Natural Earth countries of
// the world-atlas package in Miller's cylindrical projection. Land green with
// black country outlines, sea navy. Rerunning reproduces the file.
'use strict';
const fs = require('fs');
const path = require('path');
const { C, Picture, encode } = require('./lib/bmp.js');
const { labelShapes, outline } = require('./lib/raster.js');
const { features } = require('./lib/topo.js');

const WIDTH = 329;
const HEIGHT = 219;
const TOP_LATITUDE = 84;

function miller(latitude) {
  const phi = (latitude * Math.PI) / 180;
  return 1.25 * Math.log(Math.tan(Math.PI / 4 + 0.4 * phi));
}

function project([lon, lat]) {
  const scale = WIDTH / (2 * Math.PI);
  const clamped = Math.max(-89.9, Math.min(89.9, lat));
  return [((lon + 180) * Math.PI) / 180 * scale, (miller(TOP_LATITUDE) - miller(clamped)) * scale];
}

// Makes a ring's longitudes continuous where it crosses the 180th meridian.
// A ring around a pole does not close that way and is kept as it is.
function unwrap(ring) {
  const out = [ring[0]];
  for (let i = 1; i < ring.length; ++i) {
    let lon = ring[i][0];
    const prev = out[i - 1][0];
    while (lon - prev > 180) lon -= 360;
    while (prev - lon > 180) lon += 360;
    out.push([lon, ring[i][1]]);
  }
  return Math.abs(out[out.length - 1][0] - out[0][0]) < 1e-9 ? out : ring;
}

// A polygon crossing the 180th meridian is drawn on both sides of the picture.
function polygonCopies(poly) {
  const rings = poly.map(unwrap);
  const lons = rings.flat().map((p) => p[0]);
  const shifts = [0];
  if (Math.max(...lons) > 180) shifts.push(-360);
  if (Math.min(...lons) < -180) shifts.push(360);
  return shifts.map((d) => rings.map((ring) => ring.map(([lon, lat]) => project([lon + d, lat]))));
}

function main(outDir) {
  const atlas = require('world-atlas/countries-50m.json');
  const shapes = [];
  features(atlas, 'countries').forEach((country, ci) => {
    country.polygons.forEach((poly, pi) => {
      for (const rings of polygonCopies(poly)) shapes.push({ label: ci * 1000 + pi + 1, rings });
    });
  });
  const labels = labelShapes(WIDTH, HEIGHT, shapes);
  const border = outline(labels, WIDTH, HEIGHT);
  const picture = new Picture(WIDTH, HEIGHT, C.navy);
  labels.forEach((l, i) => {
    const x = i % WIDTH;
    const y = Math.floor(i / WIDTH);
    if (border[i]) picture.set(x, y, C.black);
    else if (l > 0) picture.set(x, y, C.green);
  });
  fs.mkdirSync(path.join(outDir, 'maps'), { recursive: true });
  fs.writeFileSync(path.join(outDir, 'maps', 'world.bmp'), encode(picture));
  console.log('maps/world.bmp');
}

main(process.argv[2] || path.join(__dirname, '..', '..', 'assets'));
