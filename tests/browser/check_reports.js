// Checks the HTML and GeoJSON reports of `vistrel-cli analyse` as their
// readers get them:
//
//   node check_reports.js geojson CLI WORKDIR
//       every analysis as GeoJSON beside its JSON output: the same keys with
//       the same counts, and every geometry valid
//   node check_reports.js browser CLI WORKDIR CHROMIUM
//       the State report opened in headless Chromium: one shape per state,
//       the counts beside their states, the pointer's hover naming a state,
//       and no request for anything outside the file
//
// Uses nothing but Node itself: Chromium is driven through its DevTools
// protocol over a pipe. Exits 0 when all holds, 1 with the faults listed,
// 77 when Chromium is missing.
'use strict';
const { spawn, execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');

const faults = [];
function check(ok, what) {
  if (!ok) faults.push(what);
  return ok;
}

function cli(cliPath, args) {
  return execFileSync(cliPath, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
}

// A demo data directory with states, foreign provinces, zip codes abroad and
// several spellings of a country.
function makeData(cliPath, work) {
  const data = path.join(work, 'data');
  fs.rmSync(work, { recursive: true, force: true });
  fs.mkdirSync(work, { recursive: true });
  cli(cliPath, ['init', '--data', data, '--demo', '--contacts', '3000']);
  return data;
}

function analyse(cliPath, data, by, format, output) {
  const args = ['analyse', '--data', data, '--database', 'Sales', '--by', by, '--count', '--format', format];
  if (output) return cli(cliPath, [...args, '--output', output]);
  return cli(cliPath, args);
}

// ---- GeoJSON

function validPosition(p) {
  return Array.isArray(p) && p.length === 2 && p.every(Number.isFinite) &&
         p[0] >= -180 && p[0] <= 180 && p[1] >= -90 && p[1] <= 90;
}

function validRing(ring) {
  if (!Array.isArray(ring) || ring.length < 4 || !ring.every(validPosition)) return false;
  const first = ring[0];
  const last = ring[ring.length - 1];
  return first[0] === last[0] && first[1] === last[1];
}

function validGeometry(g) {
  if (!g) return false;
  switch (g.type) {
    case 'Point': return validPosition(g.coordinates);
    case 'Polygon': return g.coordinates.length > 0 && g.coordinates.every(validRing);
    case 'MultiPolygon':
      return g.coordinates.length > 1 && g.coordinates.every((p) => p.length > 0 && p.every(validRing));
    default: return false;
  }
}

const KIND = {
  state: { geometry: ['Polygon', 'MultiPolygon'], code: (p) => /^\d\d$/.test(p.fips) },
  country: { geometry: ['Polygon', 'MultiPolygon'], code: (p) => p.iso === null || /^[A-Z]{2}$/.test(p.iso) },
  zip: { geometry: ['Point'], code: (p) => /^[A-Z]{2}$/.test(p.state) },
  city: { geometry: ['Point'], code: (p) => /^[A-Z]{2}$/.test(p.state) },
};

function checkGeoJson(cliPath, work) {
  const data = makeData(cliPath, work);
  for (const by of Object.keys(KIND)) {
    const json = JSON.parse(analyse(cliPath, data, by, 'json'));
    const file = path.join(work, `${by}.geojson`);
    analyse(cliPath, data, by, 'geojson', file);
    const geo = JSON.parse(fs.readFileSync(file, 'utf8'));
    check(geo.type === 'FeatureCollection', `${by}: not a FeatureCollection`);
    check(geo.properties.total === json.total, `${by}: total ${geo.properties.total}, JSON ${json.total}`);
    const expected = new Map(json.values.map((v) => [v.key, v.count]));
    const seen = new Map();
    for (const f of geo.features) {
      const p = f.properties;
      check(f.type === 'Feature', `${by} ${p.key}: not a Feature`);
      check(KIND[by].geometry.includes(f.geometry && f.geometry.type), `${by} ${p.key}: a ${f.geometry.type}`);
      check(validGeometry(f.geometry), `${by} ${p.key}: invalid geometry`);
      check(KIND[by].code(p), `${by} ${p.key}: place code ${JSON.stringify(p)}`);
      check(typeof p.name === 'string' && p.name !== '', `${by} ${p.key}: no name`);
      const share = (p.count * 100) / json.total;
      check(Math.abs(p.share - share) <= share * 5e-4, `${by} ${p.key}: share ${p.share}, expected ${share}`);
      seen.set(p.key, (seen.get(p.key) || 0) + 1);
      check(expected.get(p.key) === p.count, `${by} ${p.key}: count ${p.count}, JSON ${expected.get(p.key)}`);
    }
    for (const u of geo.properties.unmapped) {
      seen.set(u.key, (seen.get(u.key) || 0) + 1);
      check(expected.get(u.key) === u.count, `${by} ${u.key} (unmapped): count ${u.count}, JSON ${expected.get(u.key)}`);
    }
    for (const key of expected.keys()) check(seen.get(key) === 1, `${by} ${key}: listed ${seen.get(key) || 0} times`);
    check(seen.size === expected.size, `${by}: ${seen.size} keys, JSON ${expected.size}`);
    if (by === 'zip') check(JSON.stringify(geo.properties.others) === JSON.stringify(json.others), 'zip: others differ');
    if (by === 'state') {
      check(geo.features.length > 40 && geo.properties.unmapped.length > 0,
            `state: ${geo.features.length} states, ${geo.properties.unmapped.length} unmapped`);
    }
  }
}

// ---- Browser

// Chromium's DevTools protocol over the pipe it reads on fd 3 and writes on
// fd 4, one NUL-ended JSON message each way.
class Browser {
  constructor(chromium, profile) {
    this.proc = spawn(chromium, [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--host-resolver-rules=MAP * ~NOTFOUND', `--user-data-dir=${profile}`, '--window-size=1100,1400',
      '--remote-debugging-pipe', 'about:blank',
    ], { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    let buffer = Buffer.alloc(0);
    this.proc.stdio[4].on('data', (chunk) => {
      buffer = Buffer.concat([buffer, chunk]);
      let end;
      while ((end = buffer.indexOf(0)) >= 0) {
        const message = JSON.parse(buffer.subarray(0, end).toString('utf8'));
        buffer = buffer.subarray(end + 1);
        if (message.id && this.pending.has(message.id)) {
          const { resolve, reject } = this.pending.get(message.id);
          this.pending.delete(message.id);
          if (message.error) reject(new Error(JSON.stringify(message.error)));
          else resolve(message.result);
        } else {
          this.listeners.forEach((l) => l(message));
        }
      }
    });
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    this.proc.stdio[3].write(JSON.stringify(message) + '\0');
    return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject }));
  }

  // Resolves with the first event `method` of the session.
  once(method, sessionId) {
    return new Promise((resolve) => {
      const l = (m) => {
        if (m.method === method && m.sessionId === sessionId) {
          this.listeners = this.listeners.filter((x) => x !== l);
          resolve(m.params);
        }
      };
      this.listeners.push(l);
    });
  }

  close() {
    this.proc.kill();
  }
}

async function evaluate(browser, session, expression) {
  const r = await browser.send('Runtime.evaluate', { expression, returnByValue: true }, session);
  if (r.exceptionDetails) throw new Error(`page script failed: ${JSON.stringify(r.exceptionDetails)}`);
  return r.result.value;
}

// What the page shows, read from its rendered document.
const READ_PAGE = `(() => {
  const shapes = [...document.querySelectorAll('svg path.shape')];
  const rows = [...document.querySelectorAll('#values tbody tr')].map((tr) => ({
    key: tr.cells[0].innerText.trim(), count: tr.cells[2].innerText.trim(), visible: tr.getClientRects().length > 0,
    place: tr.getAttribute('data-place'),
  }));
  return {
    shapes: shapes.map((s) => ({ id: s.id, key: s.getAttribute('data-key'), title: s.querySelector('title').textContent,
                                 box: s.getBoundingClientRect().toJSON() })),
    rows,
    pointer: document.getElementById('pointer').textContent,
  };
})()`;

async function checkBrowser(cliPath, work, chromium) {
  const data = makeData(cliPath, work);
  const json = JSON.parse(analyse(cliPath, data, 'state', 'json'));
  const file = path.join(work, 'state.html');
  analyse(cliPath, data, 'state', 'html', file);
  const url = 'file://' + file;

  const browser = new Browser(chromium, path.join(work, 'profile'));
  const timer = setTimeout(() => {
    faults.push('Chromium did not answer within 60 s');
    browser.close();
    finish();
  }, 60000);
  try {
    const { targetId } = await browser.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId: s } = await browser.send('Target.attachToTarget', { targetId, flatten: true });
    const requests = [];
    browser.listeners.push((m) => {
      if (m.sessionId === s && m.method === 'Network.requestWillBeSent') requests.push(m.params.request.url);
    });
    await browser.send('Network.enable', {}, s);
    await browser.send('Page.enable', {}, s);
    const loaded = browser.once('Page.loadEventFired', s);
    await browser.send('Page.navigate', { url }, s);
    await loaded;

    const shown = await evaluate(browser, s, READ_PAGE);
    // One shape per state of the program's state table, each named.
    const keys = shown.shapes.map((x) => x.key);
    check(keys.length === 53 && new Set(keys).size === 53, `${keys.length} shapes, ${new Set(keys).size} states`);
    // The counts beside their states: every value of the JSON output in a
    // visible table row with its count, and on its state's shape.
    const rows = new Map(shown.rows.map((r) => [r.key, r]));
    for (const v of json.values) {
      const row = rows.get(v.key);
      if (!check(row && row.visible, `no visible row for ${v.key}`)) continue;
      check(row.count === String(v.count), `${v.key}: row shows ${row.count}, JSON ${v.count}`);
      const shape = shown.shapes.find((x) => x.key === v.key.toUpperCase());
      if (/^[A-Z]{2}$/i.test(v.key) && shape) {
        check(row.place === shape.id, `${v.key}: the row points at ${row.place}, not ${shape.id}`);
        check(shape.title.includes(`: ${v.count} contact`), `${v.key}: shape title '${shape.title}'`);
      }
    }
    // Hover: the pointer over California names it with its count and share,
    // marks its row, and its shape carries a title.
    const ca = shown.shapes.find((x) => x.key === 'CA');
    const caRow = json.values.find((v) => v.key === 'CA');
    const x = ca.box.x + ca.box.width * 0.35;
    const y = ca.box.y + ca.box.height * 0.4;
    await browser.send('Input.dispatchMouseEvent', { type: 'mouseMoved', x, y }, s);
    const hovered = await evaluate(browser, s, `(() => {
      const e = document.elementFromPoint(${x}, ${y});
      return { id: e && e.id, title: e && e.querySelector('title') && e.querySelector('title').textContent,
               pointer: document.getElementById('pointer').textContent,
               rowMarked: document.querySelector('tr[data-place="' + (e && e.id) + '"]').classList.contains('on'),
               stroke: getComputedStyle(e).strokeWidth };
    })()`);
    check(hovered.id === ca.id, `the pointer is over ${hovered.id}, not California`);
    check(/^California: \d+ contacts, [\d.]+%$/.test(hovered.title || ''), `California's title: '${hovered.title}'`);
    check(hovered.pointer === hovered.title && hovered.pointer !== shown.pointer,
          `the pointer label reads '${hovered.pointer}'`);
    check(hovered.pointer.startsWith(`California: ${caRow.count} contacts`), 'the hover label lacks the count');
    check(hovered.rowMarked, "California's row is not marked");
    check(hovered.stroke !== '0.3px', `the hovered shape keeps its outline (${hovered.stroke})`);
    // Nothing but the file itself was asked for.
    check(requests.length >= 1 && requests.every((r) => r === url), `requests: ${JSON.stringify(requests)}`);
  } finally {
    clearTimeout(timer);
    browser.close();
  }
}

function finish() {
  if (faults.length > 0) {
    console.error(faults.map((f) => '  ' + f).join('\n'));
    console.error(`${faults.length} fault(s)`);
    process.exit(1);
  }
  console.log('all checks passed');
  process.exit(0);
}

async function main() {
  const [mode, cliPath, work, chromium] = process.argv.slice(2);
  if (mode === 'geojson') {
    checkGeoJson(cliPath, work);
  } else if (mode === 'browser') {
    if (!chromium || !fs.existsSync(chromium)) {
      console.log('Chromium is not installed (scripts/setup.sh installs it): skipped');
      process.exit(77);
    }
    await checkBrowser(cliPath, work, chromium);
  } else {
    console.error('usage: node check_reports.js geojson|browser CLI WORKDIR [CHROMIUM]');
    process.exit(2);
  }
  finish();
}

main().catch((e) => {
  console.error(e.stack || String(e));
  process.exit(1);
});
