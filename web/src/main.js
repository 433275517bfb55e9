// The chart page: candles of a CSV file (the bundled sample at first), with
// indicators chosen from the table computed in the browser by movlex and
// drawn where the table says each output belongs: over the price (averages,
// bands, stops), in a panel below (oscillators, flags), or as markers on the
// candles (candlestick patterns: above a bearish candle, below a bullish one).
import { CandlestickSeries, LineSeries, createChart, createSeriesMarkers } from 'lightweight-charts';
import * as movlex from 'movlex';
import sample from '../../data/sample.csv?raw';
import { parseBars } from './csv.js';
import { paramForm, readForm } from './form.js';

const chart = createChart(document.getElementById('chart'), { autoSize: true, layout: { panes: { separatorColor: '#ccc' } } });
const COLORS = ['#1f77b4', '#ff7f0e', '#2ca02c', '#d62728', '#9467bd', '#8c564b', '#e377c2', '#17becf'];
let bars;
let candles;
let drawn = [];   // { name, options, series: [], markers: [] }
let markers;      // the candles' markers plugin
let marks = [];   // every marker on the candles

// Values computed, readable by a test: window.movlexResults[k] = { name, options, outputs }.
window.movlexResults = [];

function show(text, label) {
  bars = parseBars(text);
  document.getElementById('source').textContent = label;
  if (candles) chart.removeSeries(candles);
  candles = chart.addSeries(CandlestickSeries, {}, 0);
  candles.setData(bars.time.map((time, t) => ({ time, open: bars.open[t], high: bars.high[t], low: bars.low[t], close: bars.close[t] })));
  markers = createSeriesMarkers(candles, []);
  marks = [];
  const again = drawn;
  drawn = [];
  window.movlexResults = [];
  for (const series of again.flatMap((entry) => entry.series)) chart.removeSeries(series);
  for (const entry of again) add(entry.name, entry.options);
  chart.timeScale().fitContent();
}

// A pattern's signals as markers: +1/+2 below the candle, -1/-2 above it.
function signalMarks(name, values) {
  const label = name.replace(/^candle_/, '').replace(/_/g, ' ');
  const found = [];
  values.forEach((value, t) => {
    if (!(value > 0 || value < 0)) return;
    found.push(value > 0
      ? { time: bars.time[t], position: 'belowBar', color: '#26a69a', shape: 'arrowUp', text: label }
      : { time: bars.time[t], position: 'aboveBar', color: '#ef5350', shape: 'arrowDown', text: label });
  });
  return found;
}

function add(name, options) {
  const info = movlex.indicators.find((row) => row.name === name);
  const result = movlex[name](bars, options);
  const outputs = result instanceof Float64Array ? { [name]: result } : result;
  // The indicator's panel outputs share one panel of their own.
  const panel = info.outputPlacements.includes('panel') ? chart.panes().length : null;
  const series = [];
  Object.values(outputs).forEach((values, o) => {
    const placement = info.outputPlacements[o];
    if (placement === 'markers') {
      marks = marks.concat(signalMarks(name, values)).sort((a, b) => (a.time < b.time ? -1 : a.time > b.time ? 1 : 0));
      markers.setMarkers(marks);
      return;
    }
    const line = chart.addSeries(LineSeries, { color: COLORS[(drawn.length + o) % COLORS.length], lineWidth: 1, priceLineVisible: false, lastValueVisible: false }, placement === 'overlay' ? 0 : panel);
    line.setData(bars.time.map((time, t) => (Number.isNaN(values[t]) ? { time } : { time, value: values[t] })));
    series.push(line);
  });
  drawn.push({ name, options, series });
  window.movlexResults.push({ name, options, outputs, markers: marks.length });
  const tag = document.createElement('span');
  tag.textContent = `${name} ${Object.values(options).join(' ')}`.trim();
  document.getElementById('added').append(tag);
}

const select = document.getElementById('indicator');
for (const info of movlex.indicators) select.append(new Option(`${info.name}: ${info.summary}`, info.name));
const form = document.getElementById('params');
const current = () => movlex.indicators.find((row) => row.name === select.value);
select.addEventListener('change', () => paramForm(form, current(), movlex.maTypes));
paramForm(form, current(), movlex.maTypes);
document.getElementById('add').addEventListener('click', () => {
  try {
    add(select.value, readForm(form, current()));
  } catch (error) {
    alert(error.message);
  }
});

const load = (file) => file.text().then((text) => show(text, file.name)).catch((error) => alert(error.message));
document.getElementById('file').addEventListener('change', (event) => event.target.files[0] && load(event.target.files[0]));
const area = document.getElementById('chart');
area.addEventListener('dragover', (event) => { event.preventDefault(); area.classList.add('dropping'); });
area.addEventListener('dragleave', () => area.classList.remove('dropping'));
area.addEventListener('drop', (event) => {
  event.preventDefault();
  area.classList.remove('dropping');
  if (event.dataTransfer.files[0]) load(event.dataTransfer.files[0]);
});

show(sample, 'data/sample.csv');
document.body.dataset.ready = 'true';
