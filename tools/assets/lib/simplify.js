// Simplifies the shapes of a TopoJSON topology for the reports: every arc is
// thinned with Douglas-Peucker (its ends kept), so that two shapes sharing a
// border keep sharing it exactly; then each feature's rings are joined from
// the thinned arcs, rounded, cleared of repeated points, and the pieces too
// small to see are left out.
'use strict';

// East-west distances shrink with the cosine of the latitude; each arc is
// measured in degrees scaled by the cosine at its middle.
function arcScale(arc) {
  const lats = arc.map((p) => p[1]);
  const middle = (Math.min(...lats) + Math.max(...lats)) / 2;
  return Math.cos((middle * Math.PI) / 180);
}

function distanceToSegment([x, y], [x1, y1], [x2, y2]) {
  const dx = x2 - x1;
  const dy = y2 - y1;
  const length2 = dx * dx + dy * dy;
  let t = length2 === 0 ? 0 : ((x - x1) * dx + (y - y1) * dy) / length2;
  t = Math.max(0, Math.min(1, t));
  const px = x1 + t * dx - x;
  const py = y1 + t * dy - y;
  return Math.sqrt(px * px + py * py);
}

// Marks in `keep` the points of scaled[from..to] that Douglas-Peucker keeps.
function markKept(scaled, from, to, tolerance, keep) {
  const stack = [[from, to]];
  while (stack.length > 0) {
    const [a, b] = stack.pop();
    let farthest = -1;
    let distance = tolerance;
    for (let i = a + 1; i < b; ++i) {
      const d = distanceToSegment(scaled[i], scaled[a], scaled[b]);
      if (d > distance) {
        distance = d;
        farthest = i;
      }
    }
    if (farthest >= 0) {
      keep[farthest] = true;
      stack.push([a, farthest], [farthest, b]);
    }
  }
}

// The thinned arc. A closed arc (an island drawn by one arc) is split at the
// point farthest from its start and keeps at least that point and one more
// on each side, so that it stays a ring.
function simplifyArc(arc, tolerance) {
  if (arc.length <= 2) return arc;
  const k = arcScale(arc);
  const scaled = arc.map(([lon, lat]) => [lon * k, lat]);
  const keep = new Array(arc.length).fill(false);
  keep[0] = true;
  keep[arc.length - 1] = true;
  const last = arc.length - 1;
  const closed = arc[0][0] === arc[last][0] && arc[0][1] === arc[last][1];
  if (!closed) {
    markKept(scaled, 0, last, tolerance, keep);
  } else {
    let far = 1;
    for (let i = 1; i < last; ++i) {
      if (distanceToSegment(scaled[i], scaled[0], scaled[0]) > distanceToSegment(scaled[far], scaled[0], scaled[0])) {
        far = i;
      }
    }
    keep[far] = true;
    for (const [a, b] of [[0, far], [far, last]]) {
      markKept(scaled, a, b, tolerance, keep);
      if (b - a > 1 && !keep.slice(a + 1, b).some(Boolean)) markKept(scaled, a, b, 0, keep);
    }
  }
  return arc.filter((_, i) => keep[i]);
}

function decodeArcs(topology) {
  const t = topology.transform;
  return topology.arcs.map((arc) => {
    if (!t) return arc.map((p) => [p[0], p[1]]);
    let x = 0;
    let y = 0;
    return arc.map((p) => {
      x += p[0];
      y += p[1];
      return [x * t.scale[0] + t.translate[0], y * t.scale[1] + t.translate[1]];
    });
  });
}

function ringFromArcs(arcs, indexes) {
  const points = [];
  for (const index of indexes) {
    const arc = index < 0 ? arcs[~index].slice().reverse() : arcs[index];
    arc.forEach((p, k) => {
      if (k > 0 || points.length === 0) points.push(p);
    });
  }
  return points;
}

// Rounds to `digits` decimals and drops a point equal to the one before it;
// the ring ends on its first point. Null when fewer than three distinct
// points are left.
function roundRing(ring, digits) {
  const factor = 10 ** digits;
  const out = [];
  for (const [lon, lat] of ring) {
    const p = [Math.round(lon * factor) / factor, Math.round(lat * factor) / factor];
    const prev = out[out.length - 1];
    if (!prev || prev[0] !== p[0] || prev[1] !== p[1]) out.push(p);
  }
  while (out.length > 1 && out[0][0] === out[out.length - 1][0] && out[0][1] === out[out.length - 1][1]) out.pop();
  if (out.length < 3) return null;
  out.push(out[0]);
  return out;
}

// Twice the signed area of a ring in square degrees, positive when it runs
// counter-clockwise with east to the right and north up.
function signedArea(ring) {
  let sum = 0;
  for (let i = 0; i + 1 < ring.length; ++i) sum += ring[i][0] * ring[i + 1][1] - ring[i + 1][0] * ring[i][1];
  return sum;
}

// The area of a ring in square degrees, east-west scaled by the cosine of
// its first latitude.
function ringArea(ring) {
  return (Math.abs(signedArea(ring)) / 2) * Math.cos((ring[0][1] * Math.PI) / 180);
}

// The outline counter-clockwise and the holes clockwise, as GeoJSON has them.
function orient(polygon) {
  return polygon.map((ring, i) => ((signedArea(ring) > 0) === (i === 0) ? ring : ring.slice().reverse()));
}

// Every feature of the object `objectName` as { id, name, polygons }, each
// polygon a list of closed rings (outer ring first) of [lon, lat] points
// rounded to `digits` decimals. `tolerance` is in degrees; polygons smaller
// than `minArea` square degrees are left out, except a feature's largest.
function simplifiedFeatures(topology, objectName, { tolerance, digits, minArea }) {
  const arcs = decodeArcs(topology).map((arc) => simplifyArc(arc, tolerance));
  return topology.objects[objectName].geometries.map((g) => {
    const parts = g.type === 'Polygon' ? [g.arcs] : g.type === 'MultiPolygon' ? g.arcs : [];
    const polygons = [];
    for (const part of parts) {
      const rings = part.map((indexes) => roundRing(ringFromArcs(arcs, indexes), digits));
      if (rings[0] === null) continue;
      polygons.push(orient(rings.filter((r) => r !== null)));
    }
    const largest = Math.max(0, ...polygons.map((p) => ringArea(p[0])));
    return {
      id: g.id,
      name: g.properties && g.properties.name,
      polygons: polygons.filter((p) => ringArea(p[0]) >= Math.min(minArea, largest)),
    };
  });
}

module.exports = { simplifiedFeatures };
