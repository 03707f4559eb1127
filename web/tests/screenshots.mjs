// The README's pictures of the page, on a desktop and on a phone:
// node web/tests/screenshots.mjs build-web/site docs
import path from 'node:path';
import { chromium } from 'playwright-core';
import { launchOptions, serve } from './browser.mjs';

const [site, docs] = process.argv.slice(2).map((p) => path.resolve(p));
const server = await serve(site);
const browser = await chromium.launch(launchOptions());
const rolls = '#r=4d6kh3&r=3d6&r=2d20kh1%2B5&r=let%20t%20%3D%202d6%2B1%20in%20if%20t%20%3E%3D%2010%20then%20%22strong%20hit%22%20else%20if%20t%20%3E%3D%207%20then%20%22weak%20hit%22%20else%20%22miss%22&t=15&s=atLeast&v=exactly';
for (const [name, viewport, scale] of [['web_desktop.png', { width: 1100, height: 900 }, 1], ['web_phone.png', { width: 360, height: 780 }, 2]]) {
    const page = await browser.newPage({ viewport, deviceScaleFactor: scale });
    await page.goto(server.url + '/' + rolls);
    await page.waitForFunction(() => !document.body.dataset.busy && document.querySelector('#stats tbody tr'));
    await page.focus('#plot');
    for (let i = 0; i < 12; i += 1) await page.keyboard.press('ArrowRight');
    await page.waitForFunction(() => document.getElementById('cursor-0').textContent !== '');
    await page.screenshot({ path: path.join(docs, name), fullPage: true });
    await page.close();
}
await browser.close();
server.close();
