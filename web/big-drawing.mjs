// A drawing of about `megabytes` MB for the benchmarks: a profile whose outline is a fine comb
// (the many short edges of a drawing exported from a curved design) with a few holes, each an
// LWPOLYLINE, as CAD programs write R2000 text DXF.
export function bigDrawing(megabytes) {
  const teeth = Math.ceil((megabytes * 1024 * 1024) / 4 / 22);
  const width = teeth * 0.02;
  const outline = [[0, 0]];
  for (let i = 0; i < teeth; ++i) {
    const x = i * 0.02;
    outline.push([x, 40], [x + 0.01, 40], [x + 0.01, 39.5], [x + 0.02, 39.5]);
  }
  outline.push([width, 0]);
  let holes = '';
  for (let h = 0; h < 8; ++h) {
    const x = (width / 8) * h + 2;
    holes += polyline([[x, 5], [x + 3, 5], [x + 3, 30], [x, 30]]);
  }
  return '0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$INSUNITS\n70\n4\n0\nENDSEC\n' +
    '0\nSECTION\n2\nENTITIES\n' + polyline(outline) + holes + '0\nENDSEC\n0\nEOF\n';
}

function polyline(points) {
  return `0\nLWPOLYLINE\n8\n0\n90\n${points.length}\n70\n1\n` +
    points.map(([x, y]) => `10\n${x.toFixed(3)}\n20\n${y.toFixed(3)}\n`).join('');
}
