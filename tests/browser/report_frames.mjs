// Opens the framed report that qorscan wrote for examples/sample.qor in headless Chromium:
// the index frame must show the node and one link per type, and a click on a link must show
// that type's table in the "detail" frame.
//
// usage: node report_frames.mjs <report folder> [screenshot.png]
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

const reportFolder = process.argv[2];
const screenshotPath = process.argv[3];
assert.ok(reportFolder, 'usage: node report_frames.mjs <report folder> [screenshot.png]');

// The sample's complete elements per type, in index order.
const expectedLinks = [
  ['AI_Node12_04Dec2026.html', 'Analog Input', 8],
  ['AIC_Node12_04Dec2026.html', 'Analog Input Calc.', 3],
  ['AO_Node12_04Dec2026.html', 'Analog Output', 5],
  ['AOC_Node12_04Dec2026.html', 'Analog Output Calc.', 2],
  ['DI_Node12_04Dec2026.html', 'Digital Input', 9],
  ['DIC_Node12_04Dec2026.html', 'Digital Input Calc.', 3],
  ['DO_Node12_04Dec2026.html', 'Digital Output', 6],
  ['DOC_Node12_04Dec2026.html', 'Digital Output Calc.', 2],
  ['DATB_Node12_04Dec2026.html', 'DAT(B)', 3],
  ['DATI_Node12_04Dec2026.html', 'DAT(I)', 2],
  ['DATIL_Node12_04Dec2026.html', 'DAT(IL)', 2],
  ['DATR_Node12_04Dec2026.html', 'DAT(R)', 3],
  ['PIDCON_Node12_04Dec2026.html', 'PIDCON', 4],
  ['MOTCON_Node12_04Dec2026.html', 'MOTCON', 3],
];

// Frames and their links behave as a person sees them only over HTTP, so the folder is
// served on the loopback address.
function serveFolder(folder) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname).slice(1);
    const file = path.join(folder, name);
    if (request.method !== 'GET' || name.includes('/') || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': 'text/html; charset=iso-8859-2' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

async function main() {
  const server = await serveFolder(reportFolder);
  const base = `http://127.0.0.1:${server.address().port}`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'qor-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    timeout: 60_000,
    args: [
      '--headless',
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
    ],
  });
  try {
    const page = context.pages()[0] ?? (await context.newPage());
    page.setDefaultTimeout(20_000);
    await page.setViewportSize({ width: 1400, height: 800 });
    await page.goto(`${base}/preview.html`, { waitUntil: 'load' });

    const contents = page.frame({ name: 'contents' });
    const detail = page.frame({ name: 'detail' });
    assert.ok(contents, 'the frameset has no "contents" frame');
    assert.ok(detail, 'the frameset has no "detail" frame');
    assert.equal(new URL(contents.url()).pathname, '/index.html');
    assert.equal(new URL(detail.url()).pathname, '/dummy.html');

    const indexText = await contents.locator('body').innerText();
    assert.match(indexText, /Node Number:\s*12\b/);
    assert.match(indexText, /Node Descr:\s*Boiler house 2 feed water and burners/);

    const links = await contents
      .locator('a')
      .evaluateAll((anchors) => anchors.map((a) => [a.getAttribute('href'), a.textContent]));
    const typeLinks = links.filter(([href]) => href.includes('_Node'));
    assert.deepEqual(
      typeLinks,
      expectedLinks.map(([file, label, count]) => [file, `${label}  ( ${count} )`]),
    );

    // Every type: a click loads its page into the right-hand frame with one row per element.
    for (const [file, label, count] of expectedLinks) {
      await contents.getByText(`${label}  ( ${count} )`, { exact: true }).click();
      await detail.waitForURL(`**/${file}`);
      await detail.waitForLoadState('load');
      assert.equal(new URL(page.url()).pathname, '/preview.html', 'the link left the frameset');
      const table = detail.locator('table:has(th)');
      const headerCells = await table.locator('tr').first().locator('th').count();
      assert.ok(headerCells >= 2, `${file}: ${headerCells} header cells`);
      const rows = table.locator('tr:has(td)');
      assert.equal(await rows.count(), count, `${file}: element rows`);
      for (let i = 0; i < count; ++i) {
        assert.equal(await rows.nth(i).locator('td').count(), headerCells, `${file} row ${i + 1}`);
      }
    }

    await contents.getByText('Digital Input  ( 9 )', { exact: true }).click();
    await detail.waitForURL('**/DI_Node12_04Dec2026.html');
    const firstRow = detail.locator('table:has(th) tr:has(td)').first();
    assert.equal((await firstRow.locator('td').first().innerText()).trim(), 'DI810_1.1');
    assert.match(await detail.locator('body').innerText(), /Digital Input/);
    if (screenshotPath) {
      await page.screenshot({ path: screenshotPath });
    }
  } finally {
    await context.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  console.log(`browser report test: ${expectedLinks.length} pages checked in Chromium`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
