// The form, made from the core's inputs table, and the design's value lines behind it
// ("SECTION\tKEY\tTEXT", src/web/design_values.h).

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

