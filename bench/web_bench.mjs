// The page's targets, measured in Debian's headless Chromium on this machine:
// node --experimental-websocket bench/web_bench.mjs build-web/site build-ci/cli/pipwright-cli
// (Node.js 22 and later need no flag; without a WebSocket one figure is left out.)
// Figures only: nothing here passes or fails.
import { execFileSync } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { gzipSync } from 'node:zlib';
import { createRequire } from 'node:module';
const require = createRequire(new URL('../web/package.json', import.meta.url));
const { chromium } = require('playwright-core');
const { launchOptions, serve } = await import('../web/tests/browser.mjs');
const { undrivenWorkerMs } = await import('./undriven_page.mjs');

const [site, cli] = process.argv.slice(2).map((p) => path.resolve(p));
const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];

let raw = 0;
let gzip = 0;
for (const name of readdirSync(site)) {
    const body = readFileSync(path.join(site, name));
    raw += body.length;
    gzip += gzipSync(body, { level: 9 }).length;
    console.log(`${name}: ${body.length} bytes, ${gzipSync(body, { level: 9 }).length} gzipped`);
}
console.log(`page files: ${(raw / 1024).toFixed(0)} KiB, ${(gzip / 1024).toFixed(0)} KiB gzipped (target 2 MB, 700 KB)`);

const server = await serve(site);
const browser = await chromium.launch(launchOptions());
const answered = (page) => page.waitForFunction(() => !document.body.dataset.busy && document.querySelector('#stats tbody tr'), null, { timeout: 120000 });

const firsts = [];
for (let i = 0; i < 5; i += 1) {
    const page = await browser.newPage();
    await page.goto(`${server.url}/#r=4d6kh3`);
    await answered(page);
    firsts.push(await page.evaluate(() => performance.now()));
    await page.close();
}
console.log(`opening the page to the first answer of 4d6kh3: ${median(firsts).toFixed(0)} ms median of 5 (target 500 ms)`);

const page = await browser.newPage();
await page.goto(`${server.url}/#r=10d10!!kh5&r=4d6kh3&r=3d6&r=2d20kh1`);
await answered(page);
await page.evaluate(() => {
    window.longest = 0;
    new PerformanceObserver((list) => list.getEntries().forEach((e) => (window.longest = Math.max(window.longest, e.duration)))).observe({ entryTypes: ['longtask'] });
});
const edits = [];
for (const roll of ['3d8', '3d10', '3d12', '3d6', '3d4', '3d20', '4d6', '3d6']) {
    await page.fill('#roll-2', roll);
    await answered(page);
    edits.push(Number(await page.evaluate(() => document.body.dataset.workerMs)));
}
console.log(`an edit among four rolls with 10d10!!kh5: ${median(edits).toFixed(1)} ms median in the worker (${edits.join(', ')}); `
    + `longest task on the page meanwhile ${await page.evaluate(() => window.longest)} ms (target 16 ms, never blocked)`);

// An edit that ends a count still running starts a new worker: from the
// keystroke to the answer, on the page's clock.
const restarts = [];
for (const roll of ['3d6', '2d8', '4d4', '1d20', '2d10']) {
    await page.fill('#roll-0', '100d100!!kl50');
    await page.waitForFunction(() => document.body.dataset.busy);
    const started = await page.evaluate(() => performance.now());
    await page.fill('#roll-0', roll);
    await answered(page);
    restarts.push(await page.evaluate((t) => performance.now() - t, started));
}
console.log(`an edit that ends a running count, to its answer: ${median(restarts).toFixed(0)} ms median (${restarts.map((t) => t.toFixed(0)).join(', ')})`);

// In a fresh page, where the browser has yet to optimise the engine's code:
// each in a context of its own, which Chromium gives a process of its own,
// with nothing compiled. Then typed key by key into a fresh page, as a user
// comes to it through the shorter rolls on the way, and after other big
// counts, in a worker started after a stop.
const big = [];
for (let i = 0; i < 7; i += 1) {
    const context = await browser.newContext();
    const fresh = await context.newPage();
    await fresh.goto(`${server.url}/#r=100d100kh50`);
    await answered(fresh);
    big.push(Number(await fresh.evaluate(() => document.body.dataset.workerMs)));
    await context.close();
}
const undriven = [];
for (let i = 0; i < 7 && typeof WebSocket !== 'undefined'; i += 1)
    undriven.push(await undrivenWorkerMs(`${server.url}/#r=100d100kh50`, launchOptions().executablePath));
const typed = [];
for (let i = 0; i < 5; i += 1) {
    const context = await browser.newContext();
    const fresh = await context.newPage();
    await fresh.goto(`${server.url}/#r=3d6`);
    await answered(fresh);
    await fresh.fill('#roll-0', '');
    await fresh.type('#roll-0', '100d100kh50', { delay: 60 });
    await fresh.waitForFunction(() => !document.body.dataset.busy && document.querySelector('#stats tbody tr')?.textContent.includes('100d100kh50'), null, { timeout: 120000 });
    typed.push(Number(await fresh.evaluate(() => document.body.dataset.workerMs)));
    await context.close();
}
const warm = [];
for (const roll of ['100d99kh50', '100d98kh50', '100d97kh50']) {
    await page.fill('#roll-0', roll);
    await answered(page);
    await page.fill('#roll-0', '100d100!!kl50');
    await page.waitForFunction(() => document.body.dataset.busy);
    await page.fill('#roll-0', '100d100kh50');
    await answered(page);
    warm.push(Number(await page.evaluate(() => document.body.dataset.workerMs)));
}
const native = [];
for (let i = 0; i < 7; i += 1) {
    const start = process.hrtime.bigint();
    execFileSync(cli, ['100d100kh50'], { stdio: 'ignore' });
    native.push(Number(process.hrtime.bigint() - start) / 1e6);
}
const times = (values) => `${(median(values) / median(native)).toFixed(2)} times`;
const undrivenText = undriven.length
    ? `${median(undriven).toFixed(0)} ms with no driver attached (${times(undriven)}; ${undriven.map((t) => t.toFixed(0)).join(', ')})`
    : 'with no driver attached: needs a WebSocket';
console.log(`100d100kh50: ${median(native).toFixed(0)} ms native pipwright-cli; in the worker of a fresh page ${undrivenText}, `
    + `${median(big).toFixed(0)} ms under Playwright (${times(big)}; ${big.map((t) => t.toFixed(0)).join(', ')}), `
    + `${median(typed).toFixed(0)} ms typed into a fresh page (${times(typed)}), `
    + `${median(warm).toFixed(0)} ms after other counts (${times(warm)}); target at most 3 times`);
await browser.close();
server.close();
