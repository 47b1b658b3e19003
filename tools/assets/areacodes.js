// Writes assets/maps/area_codes/<code>.bmp for every code of the program's
// state table: a 105 x 105 picture of the state, yellow with a black outline
// on white, with its telephone area codes (areacodes package) written in navy
// at their places. DC, PR and VI get a blank picture. Rerunning reproduces
// the files.
'use strict';
const fs = require('fs');
const path = require('path');
const { C, Picture, encode } = require('./lib/bmp.js');
const { labelShapes, outline } = require('./lib/raster.js');
const { stateOutlines } = require('./lib/states.js');
const { textSize, drawText } = require('./lib/font.js');

const SIZE = 105;
const MARGIN = 4;
const BLANK = new Set(['DC', 'PR', 'VI']);

// Longitudes of Alaska's western islands lie past the 180th meridian.
function normalise(code, [lon, lat]) {
  return [code === 'AK' && lon > 0 ? lon - 360 : lon, lat];
}

// Hawaii is drawn without the small islands north-west of Kauai.
function keepPolygon(code, poly) {
  return code !== 'HI' || poly[0].every(([lon]) => lon > -161);
}

// A projection that fits the state into the picture, east-west distances
// shrunk by the cosine of the middle latitude.
function fitting(code, polygons) {
  const points = polygons.flat(2).map((p) => normalise(code, p));
  const lons = points.map((p) => p[0]);
  const lats = points.map((p) => p[1]);
  const [west, east] = [Math.min(...lons), Math.max(...lons)];
  const [south, north] = [Math.min(...lats), Math.max(...lats)];
  const shrink = Math.cos((((south + north) / 2) * Math.PI) / 180);
  const width = (east - west) * shrink;
  const height = north - south;
  const scale = (SIZE - 2 * MARGIN) / Math.max(width, height);
  const left = (SIZE - width * scale) / 2;
  const top = (SIZE - height * scale) / 2;
  return (p) => {
    const [lon, lat] = normalise(code, p);
    return [left + (lon - west) * shrink * scale, top + (north - lat) * scale];
  };
}

// Labels keep two pixels apart side by side and one pixel above each other.
function overlaps(a, b) {
  return a.x < b.x + b.w + 2 && b.x < a.x + a.w + 2 && a.y < b.y + b.h + 1 && b.y < a.y + a.h + 1;
}

// The free place for a label of w x h nearest to (cx, cy), searched in rings
// of growing distance; labels never leave the picture.
function place(cx, cy, w, h, taken) {
  const fits = (x, y) => {
    const box = { x, y, w, h };
    return x >= 0 && y >= 0 && x + w <= SIZE && y + h <= SIZE && !taken.some((t) => overlaps(box, t));
  };
  const x0 = Math.round(cx - w / 2);
  const y0 = Math.round(cy - h / 2);
  for (let r = 0; r < SIZE; ++r) {
    for (let dy = -r; dy <= r; ++dy) {
      for (let dx = -r; dx <= r; ++dx) {
        if (Math.max(Math.abs(dx), Math.abs(dy)) !== r) continue;
        const x = Math.min(Math.max(x0 + dx, 0), SIZE - w);
        const y = Math.min(Math.max(y0 + dy, 0), SIZE - h);
        if (fits(x, y)) return { x, y, w, h };
      }
    }
  }
  return null;
}

// Keeps the outline from running through a label: black pixels in and
// around its box take the colour most of the box has, yellow or white.
function clearOutline(picture, box) {
  const pixels = [];
  for (let y = box.y - 1; y <= box.y + box.h; ++y) {
    for (let x = box.x - 1; x <= box.x + box.w; ++x) {
      if (picture.inside(x, y)) pixels.push([x, y]);
    }
  }
  const yellow = pixels.filter(([x, y]) => picture.get(x, y) === C.yellow).length;
  const white = pixels.filter(([x, y]) => picture.get(x, y) === C.white).length;
  const fill = yellow >= white ? C.yellow : C.white;
  for (const [x, y] of pixels) {
    if (picture.get(x, y) === C.black) picture.set(x, y, fill);
  }
}

function drawState(state, codes) {
  const picture = new Picture(SIZE, SIZE, C.white);
  if (BLANK.has(state.code)) return picture;
  const polygons = state.polygons.filter((poly) => keepPolygon(state.code, poly));
  const toPixel = fitting(state.code, polygons);
  const shapes = polygons.map((poly, i) => ({ label: i + 1, rings: poly.map((r) => r.map(toPixel)) }));
  const labels = labelShapes(SIZE, SIZE, shapes);
  const border = outline(labels, SIZE, SIZE);
  labels.forEach((l, i) => {
    if (border[i]) picture.set(i % SIZE, Math.floor(i / SIZE), C.black);
    else if (l > 0) picture.set(i % SIZE, Math.floor(i / SIZE), C.yellow);
  });
  const taken = [];
  for (const { code, lon, lat } of codes) {
    const [w, h] = textSize(code);
    const [cx, cy] = toPixel([lon, lat]);
    const box = place(cx, cy, w, h, taken);
    if (!box) throw new Error(`no room for area code ${code} of ${state.code}`);
    taken.push(box);
    clearOutline(picture, box);
    drawText(picture, box.x, box.y, code, C.navy);
  }
  return picture;
}

function insideBox(polygons, code, [lon, lat]) {
  const points = polygons.flat(2).map((p) => normalise(code, p));
  const lons = points.map((p) => p[0]);
  const lats = points.map((p) => p[1]);
  return lon >= Math.min(...lons) && lon <= Math.max(...lons) &&
    lat >= Math.min(...lats) && lat <= Math.max(...lats);
}

// The place of the first zip code of a city (zipcodes package), or null.
function cityPlace(city, stateCode) {
  const { codes } = require('zipcodes/lib/codes.js');
  const wanted = String(city).toUpperCase();
  for (const zip of Object.keys(codes).sort()) {
    const c = codes[zip];
    if (c.state === stateCode && c.city.toUpperCase() === wanted) return [c.longitude, c.latitude];
  }
  return null;
}

// The local area codes of each state with their places, in numeric order.
// A place outside the state (the package averages Alaska's across the 180th
// meridian) is replaced by the place of the code's city.
function areaCodesByState(states) {
  const data = require('areacodes/lib/data.json');
  const outlines = new Map(states.map((s) => [s.code, s.polygons]));
  const byState = new Map();
  for (const code of Object.keys(data).sort()) {
    const entry = data[code];
    const loc = entry.location || {};
    if (entry.type !== 'local' || !outlines.has(entry.stateCode) || loc.latitude == null) continue;
    let place = [loc.longitude, loc.latitude];
    if (!insideBox(outlines.get(entry.stateCode), entry.stateCode, place)) {
      place = cityPlace(entry.city, entry.stateCode);
      if (!place) throw new Error(`area code ${code} lies outside ${entry.stateCode}`);
      console.log(`area code ${code}: placed at ${entry.city}, ${entry.stateCode}`);
    }
    if (!byState.has(entry.stateCode)) byState.set(entry.stateCode, []);
    byState.get(entry.stateCode).push({ code, lon: place[0], lat: place[1] });
  }
  return byState;
}

function main(outDir) {
  const dir = path.join(outDir, 'maps', 'area_codes');
  fs.mkdirSync(dir, { recursive: true });
  const states = stateOutlines();
  const codes = areaCodesByState(states);
  for (const state of states) {
    const picture = drawState(state, codes.get(state.code) || []);
    fs.writeFileSync(path.join(dir, `${state.code}.bmp`), encode(picture));
  }
  console.log('maps/area_codes/*.bmp');
}

main(process.argv[2] || path.join(__dirname, '..', '..', 'assets'));
