// The design page: a thin view over the core. The form is made from the core's inputs table;
// the design is held as the core's value lines ("SECTION\tKEY\tTEXT"), which the core turns into
// design files, runs and reports.
'use strict';

// How long a measurement may take before its worker is stopped; ?measure-limit-ms= for tests.
const MEASURE_LIMIT_MS = Number(new URLSearchParams(location.search).get('measure-limit-ms')) || 20000;
const $ = (id) => document.getElementById(id);
const page = { core: null, tables: null, values: new Map(), lastDesign: null };

function status(text, isError) {
  $('status').textContent = text;
  $('status').className = isError ? 'error' : '';
}

function loadCore() {
  const source = $('core-source').textContent;
  const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
  return new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = url;
    script.onload = () => QuoinryModule().then(resolve, reject);
    script.onerror = () => reject(new Error('计算程序无法载入'));
    document.head.appendChild(script);
  });
}

// --- values ---------------------------------------------------------------------------------

const keyOf = (section, key) => section + '\t' + key;

function setValues(text) {
  page.values = new Map();
  for (const line of text.split('\n')) {
    const parts = line.split('\t');
    if (parts.length >= 3) page.values.set(keyOf(parts[0], parts[1]), parts.slice(2).join('\t'));
  }
  showValues();
}

function valueLines() {
  readForm();
  let text = '';
  for (const [key, value] of page.values) {
    text += key + '\t' + value.replace(/[\t\r\n]/g, ' ') + '\n';
  }
  return text;
}

// --- the form -------------------------------------------------------------------------------

const INFO = [['name', '名称(窗号)'], ['project', '工程名称'], ['engineer', '设计人']];

function boxId(section, key) { return 'f-' + section + '-' + key; }

function fieldRow(id, caption, control) {
  const row = document.createElement('div');
  row.className = 'field';
  const label = document.createElement('label');
  label.htmlFor = id;
  label.textContent = caption;
  control.id = id;
  const why = document.createElement('div');
  why.className = 'why';
  row.append(label, control, why);
  return row;
}

function controlFor(field) {
  if (field.kind === 'option') {
    const box = document.createElement('input');
    box.type = 'checkbox';
    return box;
  }
  if (field.rule === 'one_of') {
    const select = document.createElement('select');
    field.choices.forEach((choice, i) => select.add(new Option(field.items[i], choice)));
    return select;
  }
  const input = document.createElement('input');
  input.type = 'text';
  if (field.choices.length) {
    const list = document.createElement('datalist');
    list.id = 'list-' + field.section + '-' + field.key;
    for (const choice of field.choices) list.append(new Option(choice));
    document.body.append(list);
    input.setAttribute('list', list.id);
  }
  return input;
}

function buildForm() {
  for (const [key, caption] of INFO) {
    const input = document.createElement('input');
    $('info').append(fieldRow(boxId('design', key), caption, input));
  }
  for (const field of page.tables.fields) {
    const row = fieldRow(boxId(field.section, field.key), '', controlFor(field));
    row.dataset.section = field.section;
    row.dataset.key = field.key;
    (field.section === 'gj' ? $('gj') : $('glass')).append(row);
  }
  stationLists();
  page.tables.profiles.forEach(([series, number], i) =>
    $('library').add(new Option(series + ' ' + number, String(i))));
}

function stationLists() {
  const regions = [...new Set(page.tables.stations.map((s) => s[0]))];
  const regionList = document.createElement('datalist');
  regionList.id = 'list-regions';
  for (const region of regions) regionList.append(new Option(region));
  const cityList = document.createElement('datalist');
  cityList.id = 'list-cities';
  document.body.append(regionList, cityList);
  $(boxId('glass', 'co1')).setAttribute('list', 'list-regions');
  $(boxId('glass', 'co2')).setAttribute('list', 'list-cities');
  const fillCities = () => {
    const region = $(boxId('glass', 'co1')).value.trim();
    cityList.replaceChildren(...page.tables.stations.filter((s) => s[0] === region)
      .map((s) => new Option(s[1])));
  };
  $(boxId('glass', 'co1')).addEventListener('input', fillCities);
  $(boxId('glass', 'co2')).addEventListener('change', () => {
    fillCities();
    const region = $(boxId('glass', 'co1')).value.trim();
    const city = $(boxId('glass', 'co2')).value.trim();
    const station = page.tables.stations.find((s) => s[0] === region && s[1] === city);
    if (station) $(boxId('glass', 'te1')).value = station[2];
  });
}

function captionsNow() {
  const edition = $(boxId('glass', 'edition')).value;
  const horizontal = $(boxId('gj', 'co1')).value === '横向杆件';
  for (const field of page.tables.fields) {
    const label = document.querySelector(`label[for="${boxId(field.section, field.key)}"]`);
    label.textContent = field.captions[edition + (horizontal ? 'h' : '')] || field.label;
  }
}

function showValues() {
  for (const [key] of INFO) $(boxId('design', key)).value = page.values.get(keyOf('design', key)) || '';
  for (const field of page.tables.fields) {
    const box = $(boxId(field.section, field.key));
    const text = page.values.get(keyOf(field.section, field.key)) ?? field.default;
    if (field.kind === 'option') box.checked = text.toLowerCase() === 'true';
    else if (box.tagName === 'SELECT' && !field.choices.includes(text)) {
      box.add(new Option(text, text));  // a stored text the list lacks stays as it is
      box.value = text;
    } else box.value = text;
  }
  const member = page.values.get(keyOf('design', 'member')) === '1';
  $('member').checked = member;
  $('gj').hidden = !member;
  $('profile-choice').hidden = !member;
  captionsNow();
  markRefusals([]);
}

function readForm() {
  for (const [key] of INFO) page.values.set(keyOf('design', key), $(boxId('design', key)).value);
  page.values.set(keyOf('design', 'member'), $('member').checked ? '1' : '0');
  for (const field of page.tables.fields) {
    const box = $(boxId(field.section, field.key));
    page.values.set(keyOf(field.section, field.key),
      field.kind === 'option' ? (box.checked ? 'True' : 'False') : box.value);
  }
  page.values.set(keyOf('design', 'region'), $(boxId('glass', 'co1')).value);
}

function markRefusals(refusals) {
  for (const row of document.querySelectorAll('.field')) {
    row.classList.remove('refused');
    row.querySelector('.why').textContent = '';
  }
  for (const refusal of refusals) {
    const box = $(boxId(refusal.section, refusal.key));
    if (!box) continue;
    const row = box.closest('.field');
    row.classList.add('refused');
    row.querySelector('.why').textContent = refusal.message;
  }
  if (refusals.length) $(boxId(refusals[0].section, refusals[0].key))?.focus();
}

// --- compute and results --------------------------------------------------------------------

function compute() {
  const lines = valueLines();
  const started = performance.now();
  const answer = callCore(page.core, 'qy_compute', lines);
  const took = performance.now() - started;
  if (answer.error) return status(answer.error, true);
  page.lastDesign = lines;
  markRefusals(answer.refusals);
  showResults(answer);
  showReports(answer.reports);
  const failed = answer.results.error;
  status(failed ? '计算未完成,请按提示修改' : `计算完成(${took.toFixed(1)} 毫秒)`, Boolean(failed));
  document.body.dataset.computeMs = took.toFixed(2);
}

function verdict(ok) {
  const span = document.createElement('span');
  span.className = ok ? 'pass' : 'fail';
  span.textContent = ok ? '满足' : '不满足';
  return span;
}

function showResults(answer) {
  const out = $('results');
  out.replaceChildren();
  const r = answer.results;
  if (r.error) {
    const p = document.createElement('p');
    p.className = 'errors';
    p.textContent = r.error;
    out.append(p);
  }
  const table = document.createElement('table');
  const row = (name, value) => {
    const tr = table.insertRow();
    tr.insertCell().textContent = name;
    const cell = tr.insertCell();
    if (value instanceof Node) cell.append(value); else cell.textContent = value;
  };
  if (r.glass) {
    r.glass.panes.forEach((pane, i) => row(`玻璃第${i + 1}片强度`, verdict(pane.ok)));
    row('玻璃挠度', verdict(r.glass.ok));
  }
  if (r.member) row('杆件校核', verdict(r.member.ok));
  if (table.rows.length) out.append(table);
  for (const box of [answer.glass_box, answer.member_box]) {
    if (!box) continue;
    const pre = document.createElement('pre');
    pre.className = 'box';
    for (const line of box.split('\r\n')) {
      const div = document.createElement('div');
      div.textContent = line;
      if (line.includes('不满足')) div.className = 'fail';
      pre.append(div);
    }
    out.append(pre);
  }
}

const REPORT_TITLES = { 'wind.txt': '风荷载计算', 'glass.txt': '玻璃计算', 'gj.txt': '杆件计算' };

function base64Bytes(text) {
  const raw = atob(text);
  const bytes = new Uint8Array(raw.length);
  for (let i = 0; i < raw.length; ++i) bytes[i] = raw.charCodeAt(i);
  return bytes;
}

function download(name, bytes, type) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function showReports(reports) {
  const out = $('reports');
  out.replaceChildren();
  for (const [name, report] of Object.entries(reports)) {
    if (!report) continue;
    const details = document.createElement('details');
    details.id = 'report-' + name.replace('.txt', '');
    const summary = document.createElement('summary');
    summary.textContent = REPORT_TITLES[name] + '(' + name + ') ';
    const save = document.createElement('button');
    save.textContent = '下载';
    save.onclick = () => download(name, base64Bytes(report.cp936), 'text/plain;charset=gbk');
    summary.append(save);
    const pre = document.createElement('pre');
    pre.className = 'report';
    pre.textContent = report.text;
    details.append(summary, pre);
    out.append(details);
  }
  $('docx').disabled = !reports['wind.txt'];
}

// --- design files ---------------------------------------------------------------------------

async function openDesign(file) {
  const bytes = new Uint8Array(await file.arrayBuffer());
  const answer = callCore(page.core, 'qy_open', bytes, { cstring: file.name });
  if (answer.error) return status(answer.error, true);
  setValues(answer.values);
  status(answer.warnings.length ? answer.warnings.join(';') : '已打开 ' + file.name, false);
}

function saveDesign() {
  const answer = callCore(page.core, 'qy_save', valueLines());
  if (answer.error) return status(answer.error, true);
  const name = (page.values.get(keyOf('design', 'name')) || '设计').replace(/[\\/:*?"<>|]/g, '_');
  download(name + '.ini', encoder.encode(answer.text), 'text/plain;charset=utf-8');
  status('已保存 ' + name + '.ini', false);
}

function newDesign() {
  setValues(callCore(page.core, 'qy_new_design').values);
  $('results').replaceChildren();
  $('reports').replaceChildren();
  $('docx').disabled = true;
  status('新设计', false);
}

// --- profiles: the library and measured drawings --------------------------------------------

function applyAnswer(answer, done) {
  if (answer.error) return status(answer.error, true);
  setValues(answer.values);
  status(done, false);
}

let worker = null;

function measureInWorker(message) {
  if (!worker) {
    const source = $('core-source').textContent + '\n' + $('worker-source').textContent;
    worker = new Worker(URL.createObjectURL(new Blob([source], { type: 'text/javascript' })));
  }
  return new Promise((resolve) => {
    let timer = null;
    const finish = (answer) => { clearTimeout(timer); resolve(answer); };
    worker.onmessage = (event) => {
      if (!event.data.started) return finish(event.data.answer);
      timer = setTimeout(() => {
        worker.terminate();
        worker = null;
        finish({ error: `图形测量超过${MEASURE_LIMIT_MS / 1000}秒仍未完成,已停止:图形可能已损坏或过于复杂,请在CAD中简化后重试` });
      }, MEASURE_LIMIT_MS);
    };
    worker.onerror = (event) => { event.preventDefault(); finish({ error: '测量失败:' + event.message }); };
    worker.postMessage(message);
  });
}

async function measureDrawing(file) {
  const dxf = new Uint8Array(await file.arrayBuffer());
  status('正在测量 ' + file.name + '…', false);
  const found = await measureInWorker({ id: 1, op: 'regions', dxf });
  if (found.error) return status(file.name + ':' + found.error, true);
  const pick = async (index) => {
    $('regions').hidden = true;
    const answer = await measureInWorker({ id: 2, op: 'measured', values: valueLines(), dxf, region: index, name: file.name });
    applyAnswer(answer, `已由 ${file.name} 的第${index + 1}个区域测得截面`);
  };
  if (found.regions.length === 1) return pick(0);
  const list = $('region-list');
  list.replaceChildren();
  found.regions.forEach((region, i) => list.append(regionPicture(region, i, () => pick(i))));
  $('regions').hidden = false;
  status(`图形中有 ${found.regions.length} 个区域,请点选其一`, false);
}

function regionPicture(region, index, onPick) {
  const ns = 'http://www.w3.org/2000/svg';
  const [x0, y0, x1, y1] = region.box;
  const pad = Math.max(x1 - x0, y1 - y0) * 0.05;
  const svg = document.createElementNS(ns, 'svg');
  svg.setAttribute('viewBox', `${x0 - pad} ${-y1 - pad} ${x1 - x0 + 2 * pad} ${y1 - y0 + 2 * pad}`);
  svg.setAttribute('width', '120');
  svg.setAttribute('height', '120');
  svg.setAttribute('tabindex', '0');
  svg.dataset.region = String(index + 1);
  const title = document.createElementNS(ns, 'title');
  title.textContent = `区域${index + 1}:面积 ${region.area_mm2} mm²`;
  const path = document.createElementNS(ns, 'path');
  path.setAttribute('d', region.path);
  svg.append(title, path);
  svg.addEventListener('click', onPick);
  svg.addEventListener('keydown', (e) => { if (e.key === 'Enter') onPick(); });
  return svg;
}

// --- start ----------------------------------------------------------------------------------

function wire() {
  $('new').onclick = newDesign;
  $('save').onclick = saveDesign;
  $('compute').onclick = compute;
  $('open').onchange = (e) => { if (e.target.files[0]) openDesign(e.target.files[0]); e.target.value = ''; };
  $('dxf').onchange = (e) => { if (e.target.files[0]) measureDrawing(e.target.files[0]); e.target.value = ''; };
  $('library').onchange = (e) => {
    if (e.target.value === '') return;
    applyAnswer(callCore(page.core, 'qy_library_profile', valueLines(), Number(e.target.value)),
      '已选用型材 ' + e.target.selectedOptions[0].text);
  };
  $('member').onchange = () => { readForm(); setValues(valueLines()); };
  $(boxId('glass', 'edition')).addEventListener('change', captionsNow);
  $(boxId('gj', 'co1')).addEventListener('change', captionsNow);
  for (const [a, b] of [['op1', 'op2'], ['op2', 'op1']]) {
    $(boxId('glass', a)).addEventListener('change', (e) => {
      if (e.target.checked) $(boxId('glass', b)).checked = false;
    });
  }
  $('docx').onclick = () => downloadDocx();
}

async function start() {
  try {
    page.core = await loadCore();
    page.tables = callCore(page.core, 'qy_tables');
    buildForm();
    wire();
    newDesign();
    status('就绪', false);
    document.body.dataset.ready = String(Math.round(performance.now()));
  } catch (error) {
    status('计算程序无法启动:' + error.message, true);
  }
}

start();
