// Opens the Changes page that qorscan --compare wrote in headless Chromium and holds it against
// the CSV file written with it: the summary counts, and every change shown as the same text
// (values with < & and quotes included), on a page that needs nothing but itself.
//
// usage: node changes_page.mjs <page.html> <changes.csv> [screenshot.png] [printed.pdf]
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const [pagePath, csvPath, screenshotPath, pdfPath] = process.argv.slice(2);
assert.ok(pagePath && csvPath, 'usage: node changes_page.mjs <page.html> <changes.csv> [png] [pdf]');

// RFC 4180 fields: quoted fields may hold commas, quotes (doubled) and line breaks.
function parseCsv(text) {
  const rows = [];
  let row = [];
  let field = '';
  let quoted = false;
  for (let i = 0; i < text.length; ++i) {
    const c = text[i];
    if (quoted) {
      if (c === '"' && text[i + 1] === '"') {
        field += '"';
        ++i;
      } else if (c === '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c === '"') {
      quoted = true;
    } else if (c === ',') {
      row.push(field);
      field = '';
    } else if (c === '\r' && text[i + 1] === '\n') {
      row.push(field);
      rows.push(row);
      row = [];
      field = '';
      ++i;
    } else {
      field += c;
    }
  }
  assert.equal(field, '', 'the CSV file ends without CR LF');
  return rows;
}

// The CSV holds bytes; the page declares ISO-8859-2, where the test data's ASCII reads the same.
const [header, ...changes] = parseCsv(fs.readFileSync(csvPath, 'latin1'));
assert.deepEqual(header, ['TYPE', 'DESIGNATION', 'CHANGE', 'PARAMETER', 'OLD', 'NEW']);

async function main() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'qor-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    timeout: 60_000,
    offline: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const page = context.pages()[0] ?? (await context.newPage());
    page.setDefaultTimeout(20_000);
    const requests = [];
    page.on('request', (request) => requests.push(request.url()));
    await page.setViewportSize({ width: 1200, height: 900 });
    await page.goto(pathToFileURL(pagePath).href, { waitUntil: 'load' });

    assert.deepEqual(requests, [pathToFileURL(pagePath).href], 'the page loaded something else');
    assert.equal(await page.locator('script, link, img, iframe, frame, object, embed').count(), 0);
    const hrefs = await page.locator('a').evaluateAll((as) => as.map((a) => a.getAttribute('href')));
    assert.ok(hrefs.every((href) => href.startsWith('#')), `links leave the page: ${hrefs}`);
    assert.equal(await page.evaluate(() => document.characterSet), 'ISO-8859-2');

    // The summary's added, removed and changed counts are the CSV's, type by type.
    const summary = await page.locator('table.summary tbody tr').evaluateAll((rows) =>
      rows.map((row) => [row.dataset.type, [...row.cells].slice(1).map((cell) => cell.textContent)]));
    assert.equal(summary.length, 14);
    for (const [type, cells] of summary) {
      const changed = new Set();
      const count = (kind) => changes.filter((c) => c[0] === type && c[2] === kind).length;
      changes.filter((c) => c[0] === type && c[2] === 'changed').forEach((c) => changed.add(c[1]));
      assert.deepEqual(cells.slice(0, 3).map(Number), [count('added'), count('removed'),
        changed.size], `summary of ${type}`);
    }

    // Every element change is a table row holding the CSV's values as text, in the CSV's order.
    const shown = await page.locator('table.changes tbody tr').evaluateAll((rows) =>
      rows.map((row) => [row.closest('table').dataset.type,
        ...[...row.cells].map((cell) => cell.textContent)]));
    assert.deepEqual(shown, changes.filter((c) => c[0] !== 'NODE'));
    assert.ok(shown.some((row) => row[5].includes('<') && row[5].includes('&')),
      'the test data lost its value with < and &');
    assert.ok(await page.locator('td.new ins').count() > 0, 'no changed value is highlighted');

    // The node information that changed, side by side in the table of the exports.
    const nodeRows = await page.locator('table.exports tr:has(td.old)').evaluateAll((rows) =>
      rows.map((row) => [row.cells[0].textContent, row.cells[1].textContent, row.cells[2].textContent]));
    assert.deepEqual(nodeRows.map((row) => row.slice(1)),
      changes.filter((c) => c[0] === 'NODE').map((c) => [c[4], c[5]]));

    if (screenshotPath) {
      await page.screenshot({ path: screenshotPath, fullPage: true });
    }
    // Printed, the table heads repeat on every page and the colours stay.
    await page.emulateMedia({ media: 'print' });
    assert.equal(await page.locator('thead').first().evaluate((e) => getComputedStyle(e).display),
      'table-header-group');
    if (pdfPath) {
      await page.pdf({ path: pdfPath, format: 'A4' });
      assert.ok(fs.statSync(pdfPath).size > 1000, 'the printed page is empty');
    }
  } finally {
    await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  console.log(`browser changes test: ${changes.length} changes checked in Chromium`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
