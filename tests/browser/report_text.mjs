// Opens the element pages and index pages that check_encodings.py had qorscan write for
// exports in several encodings, in headless Chromium from disk (no server to name a charset):
// the value and the node description must read as the export's text.
//
// usage: node report_text.mjs <cases.json>
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const cases = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));

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
    for (const { pages, page: file, value, node } of cases) {
      await page.goto(pathToFileURL(path.join(pages, file)).href, { waitUntil: 'load' });
      const cells = await page.locator('table:has(th) tr:has(td) td').allInnerTexts();
      assert.equal(cells[2].trim(), value, `${pages}: the value as a reader sees it`);
      await page.goto(pathToFileURL(path.join(pages, 'index.html')).href, { waitUntil: 'load' });
      assert.ok((await page.locator('body').innerText()).includes(`Node Descr: ${node}`),
        `${pages}: the node description as a reader sees it`);
    }
  } finally {
    await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  console.log(`browser text test: ${cases.length} reports checked in Chromium`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
