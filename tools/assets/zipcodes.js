// Writes assets/zipcodes.csv: every US zip code of the npm package "zipcodes"
// with its city, state and position, sorted by zip code.
//   zip,city,state,latitude,longitude
// Rerunning it reproduces the file byte for byte.
'use strict';
const fs = require('fs');
const path = require('path');
const { codes } = require('zipcodes/lib/codes.js');

function csvField(text) {
  return /[",\r\n]/.test(text) ? '"' + text.replace(/"/g, '""') + '"' : text;
}

// The contiguous states and DC lie wholly west of Greenwich and north of the
// equator; a position there with the other sign is a slip in the source
// (10200, New York, has longitude +73.95) and is mended. Elsewhere a sign may
// be right: Guam, Wake Island, the military codes abroad.
const CONTIGUOUS = new Set(
  ('AL AZ AR CA CO CT DE DC FL GA ID IL IN IA KS KY LA ME MD MA MI MN MS MO MT NE NV NH NJ NM NY NC ND OH OK ' +
    'OR PA RI SC SD TN TX UT VT VA WA WV WI WY').split(' '),
);

function position(c) {
  if (!CONTIGUOUS.has(c.state)) return [c.latitude, c.longitude];
  return [Math.abs(c.latitude), -Math.abs(c.longitude)];
}

function main(outDir) {
  const zips = Object.keys(codes).filter((z) => /^\d{5}$/.test(z)).sort();
  const lines = ['zip,city,state,latitude,longitude'];
  for (const z of zips) {
    const c = codes[z];
    const [latitude, longitude] = position(c);
    lines.push([z, csvField(c.city), c.state, latitude.toFixed(4), longitude.toFixed(4)].join(','));
  }
  fs.writeFileSync(path.join(outDir, 'zipcodes.csv'), lines.join('\n') + '\n');
  console.log(`zipcodes.csv: ${zips.length} zip codes`);
}

main(process.argv[2] || path.join(__dirname, '..', '..', 'assets'));
