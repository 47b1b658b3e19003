// Reads TopoJSON files (the format of the us-atlas and world-atlas packages)
// into plain rings of [longitude, latitude] points.
'use strict';

// Decodes every arc of a topology into absolute coordinates.
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

// Joins the arcs of one ring; a negative index ~i means arc i reversed.
function ringPoints(arcs, indexes) {
  const points = [];
  for (const index of indexes) {
    const arc = index < 0 ? arcs[~index].slice().reverse() : arcs[index];
    arc.forEach((p, k) => {
      if (k > 0 || points.length === 0) points.push(p);
    });
  }
  return points;
}

// The polygons of one geometry, each a list of rings (outer ring first).
function geometryPolygons(arcs, geometry) {
  if (geometry.type === 'Polygon') return [geometry.arcs.map((r) => ringPoints(arcs, r))];
  if (geometry.type === 'MultiPolygon') {
    return geometry.arcs.map((poly) => poly.map((r) => ringPoints(arcs, r)));
  }
  return [];
}

// Every feature of a named object: { id, name, polygons }.
function features(topology, objectName) {
  const arcs = decodeArcs(topology);
  return topology.objects[objectName].geometries.map((g) => ({
    id: g.id,
    name: g.properties && g.properties.name,
    polygons: geometryPolygons(arcs, g),
  }));
}

module.exports = { features };
