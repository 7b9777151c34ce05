// The page's entry points (src/web/page_api.cpp) under node, against expectations worked out
// apart from the program: the inputs table's limits, a station of table E.5, a profile record of
// data/profiles, a plate's section by hand, refusals of malformed values.
// Usage: node --test tests/web/page_api_test.mjs (QUOINRY_CORE: the built quoinry-core.js)
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const require = createRequire(import.meta.url);
const core = await require(process.env.QUOINRY_CORE || join(root, 'build/wasm/src/web/quoinry-core.js'))();
eval(readFileSync(join(root, 'web/src/core-call.js'), 'utf8') + '\nglobalThis.callCore = callCore;');
const call = (name, ...args) => globalThis.callCore(core, name, ...args);

const golden = readFileSync(join(root, 'tests/golden2012/01/design.ini'));
const opened = () => call('qy_open', golden, { cstring: 'design.ini' }).values;
const withValue = (values, section, key, text) =>
  values.replace(new RegExp(`^${section}\\t${key}\\t.*$`, 'm'), `${section}\t${key}\t${text}`);
const valueOf = (values, section, key) =>
  values.match(new RegExp(`^${section}\\t${key}\\t(.*)$`, 'm'))[1];

test('the tables: every input once, the stations, the sample profiles', () => {
  const tables = call('qy_tables');
  const keys = tables.fields.map((f) => f.section + '/' + f.key);
  assert.equal(new Set(keys).size, keys.length);
  assert.ok(keys.includes('glass/te3') && keys.includes('gj/te14'));
  assert.deepEqual(tables.stations.find((s) => s[1] === '上海市'), ['上海', '上海市', '550']);
  assert.deepEqual(tables.profiles[0], ['60平开窗', 'KC60-01']);
  assert.equal(tables.current_edition, '2012');
});

test('the height: greater than 0 and at most 550 m', () => {
  for (const [height, refused] of [['0', true], ['0.001', false], ['550', false], ['550.001', true], ['-10', true]]) {
    const answer = call('qy_compute', withValue(opened(), 'glass', 'te3', height));
    const named = answer.refusals.some((r) => r.section === 'glass' && r.key === 'te3');
    assert.equal(named, refused, 'height ' + height);
    assert.equal(answer.reports['wind.txt'] === null, refused, 'wind report for height ' + height);
  }
});

test('the form\'s captions: relabelled by the code edition and by the member form', () => {
  const field = (key) => call('qy_tables').fields.find((f) => f.section === key[0] && f.key === key[1]);
  assert.equal(field(['glass', 'te2']).captions['2001'], '体型系数');
  assert.equal(field(['glass', 'te2']).captions['2012'], '局部体型系数');
  // A horizontal member's load units: width and height change places.
  assert.equal(field(['gj', 'te2']).captions['2012'], '第一受荷单元宽Wsk1(mm)');
  assert.equal(field(['gj', 'te2']).captions['2012h'], '受荷单元宽Wsk(mm)');
  assert.deepEqual(field(['glass', 'edition']).items,
    ['GB 50009-2001', 'GB 50009-2012 + GB 55001-2021']);
});

test('without the member only the wind and glass reports are written', () => {
  const values = withValue(opened(), 'design', 'member', '0');
  const answer = call('qy_compute', values);
  assert.notEqual(answer.reports['glass.txt'], null);
  assert.equal(answer.reports['gj.txt'], null);
  assert.equal(answer.results.member, undefined);
  assert.doesNotMatch(call('qy_save', values).text, /^\[gj\]/m);
});

test('a design opened, saved and opened again keeps every value', () => {
  const values = opened();
  const saved = call('qy_save', values).text;
  assert.match(saved, /^\[design\]/m);
  assert.match(saved, /^\[gj\]/m);
  assert.equal(call('qy_open', saved, { cstring: 'saved.ini' }).values, values);
});

test('malformed values and files are refused with a message, never a crash', () => {
  assert.match(call('qy_compute', 'glass\tnope\t1\n').error, /未知的输入 glass\/nope/);
  assert.match(call('qy_compute', 'glass\tte1\n').error, /设计值的行不完整/);
  assert.match(call('qy_compute', 'design\tpicture\t%%%\n').error, /base64/);
  assert.match(call('qy_open', '[glass\nco1=x\n', { cstring: 'bad.ini' }).error, /bad\.ini/);
  assert.match(call('qy_library_profile', opened(), 99).error, /型材库中没有第100个型材/);
});

test('a library profile fills the member as the member window does (KC60-01)', () => {
  const values = call('qy_library_profile', opened(), 0).values;
  const expected = { te1: '85.4', te5: '49.6', te7: '1.6', te14: '3.828', te6: '70000', te8: '9.379',
    te9: '15.694', te10: '3.187', te11: '4.559', te12: '2.758', te13: '2.758' };
  for (const [key, text] of Object.entries(expected)) assert.equal(valueOf(values, 'gj', key), text, key);
  assert.notEqual(valueOf(values, 'design', 'picture'), '');
});

test('a plate 60 x 40 mm with a hole of radius 8 at (20, 22), measured', () => {
  const dxf = plateDrawing();
  const regions = call('qy_regions', dxf);
  assert.equal(regions.regions.length, 1);
  // A = 2400 - 64π = 2198.938 mm².
  assert.equal(regions.regions[0].area_mm2, 2198.938);
  const values = call('qy_measured', opened(), dxf, 0, { cstring: 'plate.dxf' }).values;
  // About the centroid (xc, yc) = (30.9144, 19.8171) mm: Ix = 60·40³/12 + 2400·(20 - yc)²
  // - (π·8⁴/4 + 64π·(22 - yc)²) = 315905.2 mm⁴, Iy = 694838.4 mm⁴, Ixy = 4388.9 mm⁴; the
  // principal moments (Ix + Iy)/2 ∓ √(((Ix - Iy)/2)² + Ixy²) = 315854.4 and 694889.2 mm⁴.
  assert.equal(valueOf(values, 'gj', 'te14'), '21.989');
  assert.equal(valueOf(values, 'gj', 'te8'), '31.585');
  assert.equal(valueOf(values, 'gj', 'te9'), '69.489');
  assert.equal(valueOf(values, 'gj', 'te1'), '85.4');  // no strength in a drawing: the default
  assert.equal(valueOf(values, 'design', 'section_drawing'), 'plate.dxf');
  assert.match(call('qy_measured', opened(), dxf, 1, { cstring: 'plate.dxf' }).error, /没有第2个区域/);
  assert.match(call('qy_regions', '0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n').error, /没有封闭的轮廓/);
});

test('the calculation document: the package parts in order, the picture with a measured section', () => {
  const values = call('qy_measured', opened(), plateDrawing(), 0, { cstring: 'plate.dxf' }).values;
  const answer = call('qy_docx', values);
  const names = answer.parts.map(([name]) => name);
  assert.equal(names[0], '[Content_Types].xml');
  assert.ok(names.includes('word/document.xml'));
  assert.ok(names.some((name) => name.startsWith('word/media/')));
  assert.match(call('qy_docx', withValue(values, 'glass', 'te3', '-1')).error, /当前错误/);
});

// R12 text: an LWPOLYLINE outline and a CIRCLE hole.
function plateDrawing() {
  const outline = [[0, 0], [60, 0], [60, 40], [0, 40]]
    .map(([x, y]) => `10\n${x}\n20\n${y}\n`).join('');
  return '0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\n0\n90\n4\n70\n1\n' + outline +
    '0\nCIRCLE\n8\n0\n10\n20\n20\n22\n40\n8\n0\nENDSEC\n0\nEOF\n';
}
