// The design page: a thin view over the core. The form is made from the core's inputs table;
// the design is held as the core's value lines ("SECTION\tKEY\tTEXT"), which the core turns into
// design files, runs and reports.

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
