// The page in headless Chromium: served on localhost, it opens with the
// sample; three indicators are added through its form, and the values it
// computed are read back and compared bit for bit with the native movlex
// tool's output over the same file (MOVLEX_TOOL names it; without it the test
// is skipped). The screenshot goes to MOVLEX_SCREENSHOT (default
// web/page.png).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { serve } from '../serve.mjs';

const sample = fileURLToPath(new URL('../../data/sample.csv', import.meta.url));
const tool = process.env.MOVLEX_TOOL;
const screenshot = process.env.MOVLEX_SCREENSHOT ?? fileURLToPath(new URL('../page.png', import.meta.url));

// Indicators as the test adds them: the form's values to set, and the tool's request.
const ADDED = [
  { name: 'bbands', set: { period: '20' }, request: 'bbands:period=20', headers: ['bbands_20_upper', 'bbands_20_middle', 'bbands_20_lower'] },
  { name: 'rsi', set: { period: '14' }, request: 'rsi:period=14', headers: ['rsi_14'] },
  { name: 'macd', set: { fast_period: '12', slow_period: '26', signal_period: '9' }, request: 'macd', headers: ['macd_macd', 'macd_signal', 'macd_hist'] },
];

// The tool's output columns by header name, blanks as NaN.
function native() {
  const text = execFileSync(tool, ADDED.map((added) => ['-i', added.request]).flat().concat([sample]), { encoding: 'utf8', maxBuffer: 1 << 28 });
  const lines = text.trim().split('\n');
  const header = lines[0].split(',');
  const columns = {};
  header.forEach((name, c) => { columns[name] = lines.slice(1).map((line) => { const field = line.split(',')[c]; return field === '' ? NaN : Number(field); }); });
  return columns;
}

test('the page computes in Chromium what the native tool computes, bit for bit', { skip: !tool && 'MOVLEX_TOOL is not set', timeout: 120_000 }, async () => {
  const server = await serve(0);
  const browser = await chromium.launchPersistentContext(mkdtempSync(join(tmpdir(), 'movlex-chromium-')), {
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    viewport: { width: 1200, height: 800 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
  try {
    const page = browser.pages()[0] ?? await browser.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
    await page.waitForSelector('body[data-ready="true"]');
    for (const added of ADDED) {
      await page.selectOption('#indicator', added.name);
      for (const [param, value] of Object.entries(added.set)) await page.fill(`#params [name="${param}"]`, value);
      await page.click('#add');
    }
    const results = await page.evaluate(() => window.movlexResults.map((result) => ({
      name: result.name, outputs: Object.fromEntries(Object.entries(result.outputs).map(([key, values]) => [key, Array.from(values)])),
    })));
    assert.deepEqual(errors, []);
    assert.deepEqual(results.map((result) => result.name), ADDED.map((added) => added.name));
    const expected = native();
    ADDED.forEach((added, k) => {
      const outputs = Object.values(results[k].outputs);
      assert.equal(outputs.length, added.headers.length, added.name);
      added.headers.forEach((header, o) => {
        assert.ok(expected[header], `no column ${header} in the tool's output`);
        assert.deepEqual(outputs[o], expected[header], header);
      });
    });
    // A candlestick pattern is drawn as markers on the candles, one for each bar where it fires.
    await page.selectOption('#indicator', 'candle_engulfing');
    await page.click('#add');
    const engulfing = await page.evaluate(() => {
      const result = window.movlexResults.at(-1);
      return { fired: Array.from(result.outputs.candle_engulfing ?? Object.values(result.outputs)[0]).filter((value) => value !== 0 && !Number.isNaN(value)).length, markers: result.markers };
    });
    assert.ok(engulfing.fired > 0, 'engulfing never fires on the sample');
    assert.equal(engulfing.markers, engulfing.fired);
    assert.deepEqual(errors, []);
    await page.screenshot({ path: screenshot });
  } finally {
    await browser.close();
    server.close();
  }
});
