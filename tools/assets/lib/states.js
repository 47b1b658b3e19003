// The states as the program knows them: code, the name the Census files use,
// and whether the US maps draw them (the 48 contiguous states).
'use strict';

const STATES = [
  ['AL', 'Alabama', true], ['AK', 'Alaska', false], ['AZ', 'Arizona', true],
  ['AR', 'Arkansas', true], ['CA', 'California', true], ['CO', 'Colorado', true],
  ['CT', 'Connecticut', true], ['DE', 'Delaware', true], ['DC', 'District of Columbia', false],
  ['FL', 'Florida', true], ['GA', 'Georgia', true], ['HI', 'Hawaii', false],
  ['ID', 'Idaho', true], ['IL', 'Illinois', true], ['IN', 'Indiana', true],
  ['IA', 'Iowa', true], ['KS', 'Kansas', true], ['KY', 'Kentucky', true],
  ['LA', 'Louisiana', true], ['ME', 'Maine', true], ['MD', 'Maryland', true],
  ['MA', 'Massachusetts', true], ['MI', 'Michigan', true], ['MN', 'Minnesota', true],
  ['MS', 'Mississippi', true], ['MO', 'Missouri', true], ['MT', 'Montana', true],
  ['NE', 'Nebraska', true], ['NV', 'Nevada', true], ['NH', 'New Hampshire', true],
  ['NJ', 'New Jersey', true], ['NM', 'New Mexico', true], ['NY', 'New York', true],
  ['NC', 'North Carolina', true], ['ND', 'North Dakota', true], ['OH', 'Ohio', true],
  ['OK', 'Oklahoma', true], ['OR', 'Oregon', true], ['PA', 'Pennsylvania', true],
  ['PR', 'Puerto Rico', false], ['RI', 'Rhode Island', true], ['SC', 'South Carolina', true],
  ['SD', 'South Dakota', true], ['TN', 'Tennessee', true], ['TX', 'Texas', true],
  ['UT', 'Utah', true], ['VT', 'Vermont', true], ['VI', 'United States Virgin Islands', false],
  ['VA', 'Virginia', true], ['WA', 'Washington', true], ['WV', 'West Virginia', true],
  ['WI', 'Wisconsin', true], ['WY', 'Wyoming', true],
].map(([code, censusName, onMap]) => ({ code, censusName, onMap }));

// The us-atlas state outlines by code, each { code, onMap, polygons }.
function stateOutlines() {
  const topo = require('../lib/topo.js');
  const atlas = require('us-atlas/states-10m.json');
  const byName = new Map(topo.features(atlas, 'states').map((f) => [f.name, f]));
  return STATES.map((s) => {
    const f = byName.get(s.censusName);
    if (!f) throw new Error(`us-atlas has no state named ${s.censusName}`);
    return { code: s.code, onMap: s.onMap, polygons: f.polygons };
  });
}

module.exports = { STATES, stateOutlines };
