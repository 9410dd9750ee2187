// The page: a row for each chosen TXT file, its analysis, the choices, the conversion in the
// worker with its progress, and the downloads. One worker runs one job at a time; cancelling
// the running job ends that worker and starts a fresh one, so nothing of it is ever offered.
'use strict';

const $ = (root, selector) => root.querySelector(selector);

const REASONS = {
  noSourceSegment: 'Skipped: no source segment',
  noTargetSegment: 'Skipped: no target segment',
  unresolvedLanguageCode: 'Skipped: unknown language code',
};

let catalogue = null;
let worker = null;
let running = null; // the job the worker is busy with
const queue = [];
let nextId = 1;

function startWorker() {
  worker = new Worker('worker.js');
  worker.onmessage = (event) => onWorkerMessage(event.data);
  worker.onerror = (event) => {
    event.preventDefault();
    const job = running;
    running = null;
    if (job) job.fail('The converter stopped unexpectedly' + (event.message ? ': ' + event.message : '.'));
    restartWorker();
  };
}

function restartWorker() {
  if (worker) worker.terminate();
  startWorker();
  pump();
}

function pump() {
  if (running || queue.length === 0) return;
  running = queue.shift();
  worker.postMessage(running.message);
}

function submit(message, handlers) {
  const job = Object.assign({ message: Object.assign({ id: nextId++ }, message) }, handlers);
  queue.push(job);
  pump();
  return job;
}

function onWorkerMessage(data) {
  const job = running;
  if (!job || data.id !== job.message.id) return;
  if (data.type === 'progress') {
    if (job.progress) job.progress(data);
    return;
  }
  running = null;
  if (data.type === 'failed') {
    // The module may be left broken: the next job gets a fresh worker.
    job.fail(data.message);
    restartWorker();
    return;
  }
  job.done(data);
  pump();
}

function cancel(job) {
  const waiting = queue.indexOf(job);
  if (waiting >= 0) queue.splice(waiting, 1);
  else if (running === job) {
    running = null;
    restartWorker();
  }
}

// ---------------------------------------------------------------------------------------------
// Rows

function setStatus(row, text, isError) {
  const status = $(row.el, '.status');
  status.textContent = text;
  status.classList.toggle('error', Boolean(isError));
}

function option(value, text) {
  const o = document.createElement('option');
  o.value = value;
  o.textContent = text;
  return o;
}

function languageOptions(select, found) {
  const inFile = document.createElement('optgroup');
  inFile.label = 'In this file';
  for (const language of found) {
    if (language.known) inFile.append(option(language.code, language.name + ' (' + language.code + ')'));
  }
  const all = document.createElement('optgroup');
  all.label = 'All languages';
  for (const language of catalogue.languages) {
    all.append(option(language.code, language.name + ' (' + language.code + ')'));
  }
  select.append(inFile, all);
}

function listedCodePage(code) {
  const language = catalogue.languages.find((l) => l.code === code);
  return language ? language.codePage : 0;
}

function codePageRows(row, found) {
  const body = $(row.el, '.codepages tbody');
  for (const language of found) {
    if (!language.known) continue;
    const tr = document.createElement('tr');
    const name = document.createElement('th');
    name.scope = 'row';
    name.textContent = language.name;
    const code = document.createElement('td');
    code.textContent = language.code;
    const cell = document.createElement('td');
    const select = document.createElement('select');
    select.dataset.language = language.code;
    select.setAttribute('aria-label', 'Code page of ' + language.name);
    for (const page of catalogue.codePages) select.append(option(page.codePage, page.name + ' (' + page.codePage + ')'));
    select.value = String(listedCodePage(language.code));
    select.dataset.listed = select.value;
    cell.append(select);
    tr.append(name, code, cell);
    body.append(tr);
  }
}

function showChoices(row, analysis) {
  row.analysis = analysis;
  const form = $(row.el, '.choices');
  const source = $(form, '.source');
  const target = $(form, '.target');
  languageOptions(source, analysis.languages);
  target.append(option('*', '(all languages)'));
  languageOptions(target, analysis.languages);
  source.value = analysis.source;
  target.value = analysis.target || '*';
  codePageRows(row, analysis.languages);
  const names = analysis.languages.map((l) => l.code + ' (' + l.name + ', code page ' + l.codePage + ')');
  setStatus(row, 'Languages found: ' + names.join(', ') + '.');
  form.hidden = false;
}

function request(row) {
  const form = $(row.el, '.choices');
  const codePages = {};
  for (const select of form.querySelectorAll('.codepages select')) {
    if (select.value !== select.dataset.listed) codePages[select.dataset.language] = Number(select.value);
  }
  return {
    source: $(form, '.source').value,
    target: $(form, '.target').value,
    codePages,
    utf16: $(form, '.utf16').checked,
  };
}

function formatCount(n) {
  return Number(n).toLocaleString('en-US');
}

function summaryText(result) {
  const units = (n) => formatCount(n) + (n === 1 ? ' unit' : ' units');
  let text = units(result.unitsWritten) + ' written, ' + formatCount(result.skipped.total) + ' skipped';
  const reasons = [];
  if (result.skipped.noSource) reasons.push('no source segment: ' + formatCount(result.skipped.noSource));
  if (result.skipped.noTarget) reasons.push('no target segment: ' + formatCount(result.skipped.noTarget));
  if (result.skipped.unresolved) reasons.push('unknown language code: ' + formatCount(result.skipped.unresolved));
  if (reasons.length) text += ' (' + reasons.join(', ') + ')';
  return text + '.';
}

function entryText(kind, entry) {
  if (REASONS[kind]) return REASONS[kind];
  switch (kind) {
    case 'forbiddenCharacters': return 'Character ' + entry.codePoint + ' left out (XML does not allow it)';
    case 'invalidDates': return 'Invalid date in ' + entry.field + ' ignored: “' + entry.value + '”';
    case 'repeatedFields': return 'Field ' + entry.field + ' given again (“' + entry.value + '”): the last value counts';
    default: return 'Inline element without a partner, written as <it>';
  }
}

function reportTable(row, report) {
  const file = report.files[0];
  const lists = Object.assign({}, file.unitsSkipped, file.changes);
  delete lists.total;
  const entries = [];
  let more = 0;
  for (const [kind, list] of Object.entries(lists)) {
    for (const entry of list.entries) entries.push({ line: entry.line, text: entryText(kind, entry) });
    more += list.more;
  }
  entries.sort((a, b) => a.line - b.line);
  const shown = entries.slice(0, 2000);
  more += entries.length - shown.length;
  const body = $(row.el, '.report tbody');
  body.replaceChildren();
  for (const entry of shown) {
    const tr = document.createElement('tr');
    const line = document.createElement('td');
    line.textContent = String(entry.line);
    const what = document.createElement('td');
    what.textContent = entry.text;
    tr.append(line, what);
    body.append(tr);
  }
  $(row.el, '.more').textContent = more ? formatCount(more) + ' more in the report.' : '';
  $(row.el, '.report').hidden = false;
}

function downloadLink(blob, name, text) {
  const a = document.createElement('a');
  a.href = URL.createObjectURL(blob);
  a.download = name;
  a.className = 'button';
  a.textContent = text;
  return a;
}

function showResult(row, data) {
  const result = data.result;
  const box = $(row.el, '.result');
  const downloads = $(box, '.downloads');
  downloads.replaceChildren();
  $(box, '.report').hidden = true;
  if (result.outcome !== 'written' || !data.tmx) {
    setStatus(row, result.message, true);
    $(box, '.summary').textContent = '';
    box.hidden = true;
    return;
  }
  setStatus(row, 'Converted.');
  $(box, '.summary').textContent = summaryText(result);
  const tmxName = row.analysis.tmxName;
  downloads.append(downloadLink(data.tmx, tmxName, 'Download ' + tmxName));
  if (result.skipped.total > 0 || result.changed) {
    const report = JSON.parse(result.report);
    reportTable(row, report);
    const reportName = tmxName.replace(/\.tmx$/, '') + '.report.json';
    downloads.append(downloadLink(new Blob([result.report], { type: 'application/json' }), reportName, 'Download the report (JSON)'));
  }
  row.el.dataset.memory = String(data.memory);
  box.hidden = false;
}

function setBusy(row, busy) {
  $(row.el, '.convert').disabled = busy;
  $(row.el, '.cancel').hidden = !busy;
  $(row.el, '.progress').hidden = !busy;
  row.el.dataset.state = busy ? 'converting' : 'idle';
}

function startConversion(row) {
  for (const link of row.el.querySelectorAll('.downloads a')) URL.revokeObjectURL(link.href);
  $(row.el, '.downloads').replaceChildren();
  $(row.el, '.result').hidden = true;
  $(row.el, 'progress').value = 0;
  $(row.el, '.progress-text').textContent = 'Waiting…';
  setStatus(row, 'Converting…');
  setBusy(row, true);
  const started = performance.now();
  row.job = submit({ type: 'convert', file: row.file, request: request(row) }, {
    progress(data) {
      $(row.el, 'progress').value = data.percent;
      $(row.el, '.progress-text').textContent = data.percent + ' % · ' + formatCount(data.units) + ' units';
    },
    done(data) {
      row.job = null;
      row.el.dataset.report = data.result.report || '';
      row.el.dataset.seconds = ((performance.now() - started) / 1000).toFixed(3);
      setBusy(row, false);
      showResult(row, data);
      row.el.dataset.state = data.result.outcome;
    },
    fail(message) {
      row.job = null;
      setBusy(row, false);
      setStatus(row, 'The conversion failed: ' + message, true);
      row.el.dataset.state = 'failed';
    },
  });
}

function cancelConversion(row) {
  if (!row.job) return;
  cancel(row.job);
  row.job = null;
  setBusy(row, false);
  setStatus(row, 'Cancelled: nothing was written.');
  row.el.dataset.state = 'cancelled';
  $(row.el, '.convert').focus();
}

function addFile(file) {
  const el = $(document.getElementById('row-template').content, '.row').cloneNode(true);
  const row = { el, file, analysis: null, job: null };
  $(el, '.name').textContent = file.name;
  document.getElementById('rows').append(el);
  const form = $(el, '.choices');
  const id = 'row' + nextId;
  $(form, '.source').id = id + '-source';
  $(form, '.target').id = id + '-target';
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    startConversion(row);
  });
  $(el, '.cancel').addEventListener('click', () => cancelConversion(row));
  if (file.size === 0) {
    setStatus(row, 'The file is empty: there is nothing to convert.', true);
    el.dataset.state = 'rejected';
    return;
  }
  setStatus(row, 'Reading the languages of the file…');
  el.dataset.state = 'analysing';
  submit({ type: 'analyse', file }, {
    done(data) {
      if (!data.analysis.ok) {
        setStatus(row, data.analysis.error, true);
        el.dataset.state = 'rejected';
        return;
      }
      showChoices(row, data.analysis);
      el.dataset.state = 'ready';
    },
    fail(message) {
      setStatus(row, 'The file cannot be read: ' + message, true);
      el.dataset.state = 'rejected';
    },
  });
}

function addFiles(files) {
  for (const file of files) addFile(file);
}

function setUpDropping() {
  const drop = document.getElementById('drop');
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    drop.classList.add('over');
  });
  document.addEventListener('dragleave', () => drop.classList.remove('over'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    drop.classList.remove('over');
    if (event.dataTransfer && event.dataTransfer.files.length) addFiles(event.dataTransfer.files);
  });
}

function start() {
  const input = document.getElementById('files');
  input.disabled = true;
  setStatusLine('Loading the converter…');
  startWorker();
  submit({ type: 'catalogue' }, {
    done(data) {
      catalogue = data.catalogue;
      input.disabled = false;
      setStatusLine('');
      document.body.dataset.ready = 'true';
    },
    fail(message) {
      setStatusLine('The converter cannot start in this browser: ' + message);
    },
  });
  input.addEventListener('change', () => {
    addFiles(input.files);
    input.value = '';
  });
  setUpDropping();
}

function setStatusLine(text) {
  document.getElementById('startup').textContent = text;
}

start();
