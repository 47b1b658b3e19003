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

function main(outDir) {
  const zips = Object.keys(codes).filter((z) => /^\d{5}$/.test(z)).sort();
  const lines = ['zip,city,state,latitude,longitude'];
  for (const z of zips) {
    const c = codes[z];
    lines.push([z, csvField(c.city), c.state, c.latitude.toFixed(4), c.longitude.toFixed(4)].join(','));
  }
  fs.writeFileSync(path.join(outDir, 'zipcodes.csv'), lines.join('\n') + '\n');
  console.log(`zipcodes.csv: ${zips.length} zip codes`);
}

main(process.argv[2] || path.join(__dirname, '..', '..', 'assets'));
