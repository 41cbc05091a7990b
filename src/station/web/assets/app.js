// The station's page: the live reading through Server-Sent Events, today's curve, the insolation
// of the last 31 days and the station's state. Times are shown on the station's wall clock:
// the charts take them as UTC and label them so.
'use strict';

const page = {
  readings: [],     // [wall-clock ms, value] of today's samples
  lastRecord: null, // the record number of the last of them
  clearSky: null,   // [wall-clock ms, value] of today's clear sky, when a site is known
  today: null,
  interval: 1,
  dayChart: null,
  daysChart: null,
  daysShown: null,
  lastSample: null,
  valueChanges: 0,
};
window.solardesk = {
  dayPoints: () => page.readings.length,
  chartRows: () => (page.dayChart ? page.dayChart.numRows() : 0),
  // The numbers a chart draws of a series ('Reading', 'Energy', 'Clear sky'), and its series.
  dayPointsOf: (label) => chartNumbers(page.dayChart, label),
  daysBarsOf: (label) => chartNumbers(page.daysChart, label),
  dayLabels: () => (page.dayChart ? page.dayChart.getLabels() : []),
  daysLabels: () => (page.daysChart ? page.daysChart.getLabels() : []),
  valueChanges: () => page.valueChanges,
  lastRecord: () => page.lastRecord,
  daysShown: () => page.daysShown,  // 'chart' or 'note' once the days are loaded
};

function $(id) { return document.getElementById(id); }

function chartNumbers(g, label) {
  const column = g ? g.getLabels().indexOf(label) : -1;
  let n = 0;
  for (let row = 0; column > 0 && row < g.numRows(); row++)
    if (Number.isFinite(g.getValue(row, column))) n++;
  return n;
}

// "2026-12-06T10:00:01+01:00" as the wall-clock time in ms, taken as UTC.
function wallMs(iso) {
  const m = /^(\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d):(\d\d)/.exec(iso);
  return m ? Date.UTC(+m[1], m[2] - 1, +m[3], +m[4], +m[5], +m[6]) : NaN;
}

async function getJson(url) {
  const r = await fetch(url, {cache: 'no-store'});
  if (!r.ok) throw new Error(url + ': ' + r.status);
  return r.json();
}

function showSample(s) {
  const text = s.value === null ? '----' : String(s.value);
  if ($('value').textContent !== text) page.valueChanges++;
  $('value').textContent = text;
  $('unit').textContent = s.unit;
  $('time').textContent = s.time.substring(0, 10) + ' ' + s.time.substring(11, 19);
  page.lastSample = s;
}

function bytesText(n) {
  if (n === null || n === undefined) return 'unknown';
  const units = ['B', 'KB', 'MB', 'GB', 'TB'];
  let i = 0;
  while (n >= 1024 && i < units.length - 1) { n /= 1024; i++; }
  return n.toFixed(i ? 1 : 0) + ' ' + units[i];
}

function showStatus(text) {
  const el = $('status');
  el.textContent = text;
  el.className = 'status ' + (text === 'live' ? 'live' : 'lost');
}

function showState(st) {
  showStatus(st.status);
  page.interval = st.interval;
  $('meter').textContent = st.meter;
  $('broker').textContent = !st.broker.set ? 'none' : st.broker.connected ? 'connected' : 'away';
  $('waiting').textContent = st.broker.set ? String(st.broker.waiting) : '–';
  $('disk').textContent = bytesText(st.disk_free);
  $('interval').textContent = st.interval + ' s';
  // The site, sensor, clear sky and time zone the figures assume, a row each.
  const assumed = JSON.stringify(st.assumed);
  const table = $('station');
  if (table.dataset.assumed !== assumed) {
    table.dataset.assumed = assumed;
    table.querySelectorAll('tr.assumed').forEach((tr) => tr.remove());
    for (const [label, text] of st.assumed) {
      const tr = table.insertRow();
      tr.className = 'assumed';
      const th = document.createElement('th');
      th.textContent = label;
      const td = document.createElement('td');
      td.textContent = text;
      tr.append(th, td);
    }
  }
  const list = $('files');
  const names = st.files.map((f) => f.name).reverse();
  if (list.dataset.names !== names.join(',')) {
    list.dataset.names = names.join(',');
    list.replaceChildren(...st.files.slice().reverse().map((f) => {
      const li = document.createElement('li');
      const a = document.createElement('a');
      a.href = '/files/' + encodeURIComponent(f.name);
      a.textContent = f.name;
      li.append(a, ' (' + bytesText(f.size) + ')');
      return li;
    }));
  }
}

function dayRows() {
  if (!page.clearSky) return page.readings.map((r) => [new Date(r[0]), r[1]]);
  const rows = page.readings.map((r) => [r[0], r[1], null])
      .concat(page.clearSky.map((c) => [c[0], null, c[1]]));
  rows.sort((a, b) => a[0] - b[0]);
  return rows.map((r) => [new Date(r[0]), r[1], r[2]]);
}

function drawDay() {
  const labels = page.clearSky ? ['Time', 'Reading', 'Clear sky'] : ['Time', 'Reading'];
  const rows = dayRows();
  if (rows.length === 0) return;
  // The whole day, midnight to midnight, whatever part of it has samples.
  const midnight = Date.parse(page.today + 'T00:00:00Z');
  const options = {labels, labelsUTC: true, connectSeparatedPoints: true, drawPoints: true,
                   dateWindow: [midnight, midnight + 86400000],
                   pointSize: 1.5, colors: ['#e07b00', '#5a8fd8'], ylabel: page.unit || '',
                   legend: 'always', includeZero: true};
  if (page.dayChart) page.dayChart.updateOptions({file: rows, labels});
  else page.dayChart = new Dygraph($('day-chart'), rows, options);
}

function barPlotter(e) {
  if (e.seriesIndex !== 0) return;  // every series is drawn in the first call
  const g = e.dygraph, ctx = e.drawingContext, sets = e.allSeriesPoints;
  const bottom = g.toDomYCoord(0);
  let gap = Infinity;
  for (const points of sets)
    for (let i = 1; i < points.length; i++) gap = Math.min(gap, points[i].canvasx - points[i - 1].canvasx);
  if (!isFinite(gap)) gap = 40;
  const width = Math.max(2, Math.floor(gap * 2 / 3));
  const colors = g.getColors();
  sets.forEach((points, j) => {
    ctx.fillStyle = colors[j];
    for (const p of points) {
      if (p.yval === null || isNaN(p.canvasy)) continue;
      const x = p.canvasx - width / 2 + j * width / sets.length;
      ctx.fillRect(x, p.canvasy, width / sets.length, bottom - p.canvasy);
    }
  });
}

async function loadDays() {
  const to = page.today;
  const from = new Date(Date.parse(to + 'T00:00:00Z') - 30 * 86400000).toISOString().substring(0, 10);
  const days = await getJson('/api/days?from=' + from + '&to=' + to);
  // Today's figures grow all day: until a day before it has figures, there is no bar worth a
  // chart, and a sentence says when the first one comes instead of an empty box.
  const finished = days.some((d) => d.date < to);
  const wasHidden = $('days-chart').hidden;
  $('days-note').hidden = finished;
  $('days-chart').hidden = !finished;
  page.daysShown = finished ? 'chart' : 'note';
  if (!finished) return;
  const unit = days.length ? days[days.length - 1].energy_unit : 'Wh/m2';
  const withSky = days.some((d) => d.clear_sky_energy !== null);
  const byDate = new Map();
  for (const d of days) {
    if (d.energy_unit !== unit) continue;
    const row = byDate.get(d.date) || [0, withSky ? 0 : undefined];
    row[0] += d.energy;
    if (withSky && d.clear_sky_energy !== null) row[1] += d.clear_sky_energy;
    byDate.set(d.date, row);
  }
  const rows = [];
  for (let i = 30; i >= 0; i--) {
    const ms = Date.parse(to + 'T12:00:00Z') - i * 86400000;
    const r = byDate.get(new Date(ms).toISOString().substring(0, 10));
    const cells = withSky ? [r ? r[0] : null, r ? r[1] : null] : [r ? r[0] : null];
    rows.push([new Date(ms)].concat(cells));
  }
  const labels = withSky ? ['Day', 'Energy', 'Clear sky'] : ['Day', 'Energy'];
  const options = {labels, labelsUTC: true, plotter: barPlotter, ylabel: unit, includeZero: true,
                   colors: ['#e07b00', '#5a8fd8'], legend: 'always', xRangePad: 20};
  if (page.daysChart) {
    page.daysChart.updateOptions({file: rows, labels});
    if (wasHidden) page.daysChart.resize();  // it had no size while hidden
  } else {
    page.daysChart = new Dygraph($('days-chart'), rows, options);
  }
}

async function loadToday() {
  const records = await getJson('/api/day/' + page.today);
  page.readings = records.map((r) => [wallMs(r.time), r.value]);
  if (records.length) page.lastRecord = records[records.length - 1].record;
  page.unit = records.length ? records[records.length - 1].unit : '';
  if (page.site) page.clearSky = (await getJson('/api/clearsky/' + page.today)).points;
  drawDay();
}

function listen() {
  const events = new EventSource('/api/events');
  let replayed = false;  // the stream starts with the last sample, however old it is
  events.onmessage = (m) => {
    const s = JSON.parse(m.data);
    showSample(s);
    // A new sample is news from the meter; the state poll says when they stop.
    if (replayed) showStatus('live');
    replayed = true;
    if (s.time.substring(0, 10) !== page.today) return;
    const t = wallMs(s.time);
    if (page.readings.length && page.readings[page.readings.length - 1][0] >= t) return;
    if (page.lastRecord !== null && s.record !== null && s.record > page.lastRecord + 1) {
      loadToday().catch(() => {});  // samples were missed between the load and the stream
      return;
    }
    page.readings.push([t, s.value]);
    page.lastRecord = s.record;
    page.unit = s.unit;
    drawDay();
  };
}

async function refresh() {
  try {
    const st = await getJson('/api/state');
    showState(st);
    if (st.last && !page.lastSample) showSample(st.last);
    if (st.today !== page.today) {
      page.today = st.today;
      page.site = st.site;
      await loadToday();
      await loadDays();
    }
  } catch (e) {
    showStatus('no answer from the station');
  }
}

async function start() {
  await refresh();
  listen();
  setInterval(refresh, 5000);
  setInterval(() => loadDays().catch(() => {}), 600000);
}

start();
