// Writes the outlines the HTML and GeoJSON reports draw, in longitude and
// latitude:
//   maps/state_shapes.csv    every code of the program's state table, from
//                            the Census outlines of the us-atlas package
//   maps/country_shapes.csv  every country of the world-atlas package
//   maps/country_names.csv   the names a country may be written as (ISO
//                            3166-1 names in a few languages, the codes, the
//                            world-atlas names), upper-cased, with the country
// Shape lines are key,code,name,part,points: one line per ring, `part` counts
// the polygons of a shape from 0 and a part's first ring is its outline, the
// others its holes; points are "lon lat lon lat ...", the last equal to the
// first. Rerunning reproduces the files.
'use strict';
const fs = require('fs');
const path = require('path');
const { simplifiedFeatures } = require('./lib/simplify.js');
const { STATES } = require('./lib/states.js');

function csvField(text) {
  return /[",\r\n]/.test(text) ? '"' + text.replace(/"/g, '""') + '"' : text;
}

function shapeLines(key, code, name, polygons, digits) {
  const lines = [];
  polygons.forEach((polygon, part) => {
    for (const ring of polygon) {
      const points = ring.map(([lon, lat]) => `${lon.toFixed(digits)} ${lat.toFixed(digits)}`).join(' ');
      lines.push([csvField(key), code, csvField(name), part, points].join(','));
    }
  });
  return lines;
}

// Fine enough for a map a thousand pixels wide; the State report stays far
// under a megabyte.
const STATE_DETAIL = { tolerance: 0.01, digits: 4, minArea: 0.002 };
const WORLD_DETAIL = { tolerance: 0.08, digits: 3, minArea: 0.05 };

function writeStates(outDir) {
  const atlas = require('us-atlas/states-10m.json');
  const byName = new Map(simplifiedFeatures(atlas, 'states', STATE_DETAIL).map((f) => [f.name, f]));
  const lines = ['key,code,name,part,points'];
  let points = 0;
  for (const s of STATES) {
    const f = byName.get(s.censusName);
    if (!f) throw new Error(`us-atlas has no state named ${s.censusName}`);
    lines.push(...shapeLines(s.code, f.id, s.censusName, f.polygons, STATE_DETAIL.digits));
    points += f.polygons.flat().reduce((n, r) => n + r.length, 0);
  }
  fs.writeFileSync(path.join(outDir, 'maps', 'state_shapes.csv'), lines.join('\n') + '\n');
  console.log(`maps/state_shapes.csv: ${STATES.length} states, ${points} points`);
}

// Clips a ring to the longitudes from `west` to `west` + 360 (the ring's
// longitudes made continuous beforehand) and moves the piece into -180..180.
function clipRing(ring, west) {
  const east = west + 360;
  let points = ring.slice(0, -1);
  for (const [inside, edge] of [[(p) => p[0] >= west, west], [(p) => p[0] <= east, east]]) {
    const out = [];
    for (let i = 0; i < points.length; ++i) {
      const a = points[i];
      const b = points[(i + 1) % points.length];
      if (inside(a)) out.push(a);
      if (inside(a) !== inside(b)) out.push([edge, a[1] + ((edge - a[0]) * (b[1] - a[1])) / (b[0] - a[0])]);
    }
    points = out;
  }
  if (points.length < 3) return null;
  const shift = west + 180;
  const moved = points.map(([lon, lat]) => [Math.round((lon - shift) * 1000) / 1000, lat]);
  moved.push(moved[0]);
  return moved;
}

// The longitudes of a ring made continuous where it crosses the 180th
// meridian. A ring around a pole does not close that way; it is closed along
// the pole's latitude.
function unwrapRing(ring) {
  const out = [ring[0]];
  for (let i = 1; i < ring.length; ++i) {
    let lon = ring[i][0];
    const prev = out[i - 1][0];
    while (lon - prev > 180) lon -= 360;
    while (prev - lon > 180) lon += 360;
    out.push([lon, ring[i][1]]);
  }
  const first = out[0];
  const last = out[out.length - 1];
  if (Math.abs(last[0] - first[0]) < 1e-9) return out;
  const pole = ring.reduce((s, p) => s + p[1], 0) < 0 ? -90 : 90;
  return [...out, [last[0], pole], [first[0], pole], first];
}

// A polygon that crosses the 180th meridian, cut into pieces that do not.
function cutAtAntimeridian(polygon) {
  const crosses = polygon.some((ring) => ring.some((p, i) => i > 0 && Math.abs(p[0] - ring[i - 1][0]) > 180));
  if (!crosses) return [polygon];
  const rings = polygon.map(unwrapRing);
  const lons = rings.flat().map((p) => p[0]);
  const pieces = [];
  for (let west = -540; west <= 180; west += 360) {
    if (Math.max(...lons) <= west || Math.min(...lons) >= west + 360) continue;
    const outline = clipRing(rings[0], west);
    if (!outline) continue;
    pieces.push([outline, ...rings.slice(1).map((r) => clipRing(r, west)).filter(Boolean)]);
  }
  return pieces;
}

// ISO 3166-1 names of the countries in English and the languages contacts
// abroad are most often written in; a name that two countries share in any
// of them is left out.
const NAME_LANGUAGES = ['en', 'de', 'fr', 'es', 'it', 'pt', 'nl'];

// As the program compares country texts: a-z upper-cased, full stops left
// out, blanks run together.
function nameKey(text) {
  return text.replace(/[a-z]/g, (c) => c.toUpperCase()).replace(/\./g, '').replace(/\s+/g, ' ').trim();
}

function countryNames(shapes) {
  const codes = require('i18n-iso-countries/codes.json');
  const byName = new Map();
  const add = (name, key) => {
    const k = nameKey(name);
    if (k === '') return;
    if (!byName.has(k)) byName.set(k, new Set());
    byName.get(k).add(key);
  };
  const withShape = new Set(shapes.map((s) => s.key));
  for (const lang of NAME_LANGUAGES) {
    const { countries } = require(`i18n-iso-countries/langs/${lang}.json`);
    for (const [alpha2, names] of Object.entries(countries)) {
      if (!withShape.has(alpha2)) continue;
      for (const name of [names].flat()) add(name, alpha2);
    }
  }
  for (const [alpha2, alpha3] of codes) {
    if (withShape.has(alpha2)) {
      add(alpha2, alpha2);
      add(alpha3, alpha2);
    }
  }
  for (const s of shapes) add(s.atlasName, s.key);
  const lines = ['name,key'];
  for (const [name, keys] of [...byName].sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0))) {
    if (keys.size === 1) lines.push([csvField(name), csvField([...keys][0])].join(','));
  }
  return lines;
}

function writeCountries(outDir) {
  const atlas = require('world-atlas/countries-50m.json');
  const codes = require('i18n-iso-countries/codes.json');
  const { countries: english } = require('i18n-iso-countries/langs/en.json');
  const alpha2 = new Map(codes.map(([a2, , n3]) => [n3, a2]));
  // A country drawn as several features (Australia with the Ashmore and
  // Cartier Islands) is one shape; a feature without an ISO code is a shape
  // of its own under its name.
  const shapes = new Map();
  for (const f of simplifiedFeatures(atlas, 'countries', WORLD_DETAIL)) {
    const code = f.id === undefined ? '' : alpha2.get(f.id);
    const key = code || f.name;
    if (!shapes.has(key)) {
      const name = code ? [english[code]].flat()[0] : f.name;
      shapes.set(key, { key, code, name, atlasName: f.name, polygons: [] });
    }
    shapes.get(key).polygons.push(...f.polygons.flatMap(cutAtAntimeridian));
  }
  const list = [...shapes.values()].sort((a, b) => (a.key < b.key ? -1 : a.key > b.key ? 1 : 0));
  const lines = ['key,code,name,part,points'];
  let points = 0;
  for (const s of list) {
    lines.push(...shapeLines(s.key, s.code, s.name, s.polygons, WORLD_DETAIL.digits));
    points += s.polygons.flat().reduce((n, r) => n + r.length, 0);
  }
  fs.writeFileSync(path.join(outDir, 'maps', 'country_shapes.csv'), lines.join('\n') + '\n');
  const names = countryNames(list);
  fs.writeFileSync(path.join(outDir, 'maps', 'country_names.csv'), names.join('\n') + '\n');
  console.log(`maps/country_shapes.csv: ${list.length} countries, ${points} points; ` +
              `maps/country_names.csv: ${names.length - 1} names`);
}

function main(outDir) {
  fs.mkdirSync(path.join(outDir, 'maps'), { recursive: true });
  writeStates(outDir);
  writeCountries(outDir);
}

main(process.argv[2] || path.join(__dirname, '..', '..', 'assets'));
