// The page in Debian's headless Chromium, checked against the command line:
// node web/tests/browser_test.mjs SITE_DIR PIPWRIGHT_CLI
import { execFileSync } from 'node:child_process';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';
import { launchOptions, serve } from './browser.mjs';

const [site, cliPath] = process.argv.slice(2).map((p) => path.resolve(p));
const cli = (...args) => {
    try {
        return execFileSync(cliPath, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
    } catch (error) {
        return error.stderr;
    }
};

const server = await serve(site);
const browser = await chromium.launch(launchOptions());
const failures = [];
let passed = 0;
async function test(name, body, contextOptions = {}) {
    const context = await browser.newContext({ viewport: { width: 1200, height: 900 }, ...contextOptions });
    await context.grantPermissions(['clipboard-read', 'clipboard-write'], { origin: server.url });
    const page = await context.newPage();
    // The page makes no request but for its own files.
    const foreign = [];
    page.on('request', (request) => {
        if (!/^(blob:|data:|file:)/.test(request.url()) && !request.url().startsWith(server.url)) foreign.push(request.url());
    });
    try {
        await body(page);
        assert.deepEqual(foreign, [], 'requests beyond the page');
        passed += 1;
        console.log(`ok - ${name}`);
    } catch (error) {
        failures.push(name);
        console.log(`not ok - ${name}\n${error.stack}`);
    } finally {
        await context.close();
    }
}

const link = (rolls, extra = '') => `${server.url}/#${rolls.map((r) => 'r=' + encodeURIComponent(r)).join('&')}${extra}`;
const answered = (page) => page.waitForFunction(() => !document.body.dataset.busy, null, { timeout: 60000 });
const cells = (page, selector) => page.$$eval(selector, (rows) => rows.map((row) => [...row.children].map((cell) => cell.textContent)));
async function typeRolls(page, rolls) {
    for (const [row, roll] of rolls.entries()) {
        if (!(await page.$(`#roll-${row}`))) await page.click('#add');
        await page.fill(`#roll-${row}`, roll);
    }
    await answered(page);
}
async function copyTable(page) {
    await page.evaluate(() => delete document.body.dataset.copied);
    await page.click('#copy');
    await page.waitForFunction(() => document.body.dataset.copied !== undefined);
    return page.evaluate(() => navigator.clipboard.readText());
}
// The command line's block for one roll: its P(t) lines, lowest and highest.
function block(expression) {
    const text = cli(expression);
    const chances = Object.fromEntries([...text.matchAll(/^P\((-?\d+)\) = (\S+)$/gm)].map((m) => [m[1], m[2]]));
    const mean = text.match(/^Mean: (\S+)(?: \((\S+)\))?/m);
    return { chances, lowest: text.match(/^Lowest: (.*)$/m)[1], highest: text.match(/^Highest: (.*)$/m)[1], mean: mean[2] || mean[1].split('.')[0] };
}
// The exact mean to four decimals, a half to the even digit, as the engine rounds.
function fourDecimals(fraction) {
    const [numerator, denominator = '1'] = fraction.split('/');
    const scaled = BigInt(numerator) * 10000n;
    const whole = BigInt(denominator);
    const size = scaled < 0n ? -scaled : scaled;
    let rounded = size / whole;
    const twice = 2n * (size % whole);
    if (twice > whole || (twice === whole && rounded % 2n === 1n)) rounded += 1n;
    const digits = rounded.toString().padStart(5, '0');
    const text = `${digits.slice(0, -4)}.${digits.slice(-4)}`.replace(/\.?0+$/, '');
    return scaled < 0n && rounded !== 0n ? '-' + text : text;
}

async function checkAgainstCli(page, rolls, target) {
    const totals = rolls.filter((roll) => !roll.includes('"'));
    const labelled = rolls.filter((roll) => roll.includes('"'));
    // Copy Table: the command line's --csv of the totals, then of the labels,
    // then each roll's chance to beat each other, as --versus --csv has it.
    const copied = await copyTable(page);
    const cut = copied.indexOf('\nbeats,');
    assert.equal(copied.slice(0, cut), [cli('--csv', ...totals), ...(labelled.length ? [cli('--csv', ...labelled)] : [])].join('\n'));
    const beats = copied.slice(cut + 1).trim().split('\n').map((line) => line.split(','));
    const pairs = totals.length > 1 ? cli('--versus', '--csv', ...totals).trim().split('\n').slice(1).map((line) => line.split(',')) : [];
    let pair = 0;
    for (let i = 0; i < totals.length; i += 1) {
        for (let j = i + 1; j < totals.length; j += 1, pair += 1) {
            assert.equal(beats[i + 1][j + 1], pairs[pair][2]);
            assert.equal(beats[j + 1][i + 1], pairs[pair][4]);
        }
    }
    const table = await cells(page, '#stats tbody tr');
    const chances = cli('--at-least', String(target), ...totals).trim().split('\n');
    totals.forEach((roll, i) => {
        const [name, lowest, highest, mean, , chance] = table[i];
        const expected = block(roll);
        assert.equal(name, roll);
        assert.equal(lowest, expected.lowest);
        assert.equal(highest, expected.highest);
        assert.equal(mean, fourDecimals(expected.mean));
        assert.equal(chance, chances[i].split(': ').pop());
    });
}

await test('typed rolls read as the command line writes them: table, plot summary, cursor, head to head, CSV', async (page) => {
    await page.goto(server.url + '/');
    const rolls = ['4d6kh3', '3d6', '2d20kh1+5', '1d6!!', 'let t = 2d6 in if t >= 10 then "hit" else "miss"'];
    await typeRolls(page, rolls);
    await checkAgainstCli(page, rolls, 15);
    const best = cli('--at-least', '15', '2d20kh1+5').trim();
    assert.match(await page.textContent('#summary'), new RegExp(`Likeliest to throw at least 15: 2d20kh1\\+5, ${best.replace('.', '\\.')}\\.`));
    assert.match(await page.textContent('#summary'), /gives labels: hit 16\.666666667%, miss 83\.333333333%\./);
    // The cursor at the lowest total, then one to the right, reads each roll's exact chance.
    await page.focus('#plot');
    await page.keyboard.press('Home');
    await page.keyboard.press('ArrowRight');
    await page.waitForFunction(() => document.getElementById('cursor-0').textContent !== '');
    const table = await cells(page, '#stats tbody tr');
    const at = Number(await page.evaluate(() => document.getElementById('readout').textContent.match(/-?\d+/)[0]));
    for (const [i, roll] of rolls.slice(0, 4).entries())
        assert.equal(table[i][6], `P(${at}) = ${block(roll).chances[at] ?? '0.000000000%'}`);
    await page.click('#tab-versus');
    const versus = await page.$$eval('#versus tbody td[title]', (tds) => tds.map((td) => td.title));
    const pairs = cli('--versus', ...rolls.slice(0, 4)).split('\n').filter((line) => line.includes(' vs '));
    for (const pair of pairs) assert.ok(versus.includes(pair), `no cell says ${pair}`);
    assert.match(await page.textContent('#left-out'), /roll 5, whose results are labels/);
    // The chart saved as SVG holds the plot and says what it shows; as PNG, a picture.
    const [svgFile] = await Promise.all([page.waitForEvent('download'), page.click('#save-svg')]);
    const saved = readFileSync(await svgFile.path(), 'utf8');
    assert.equal((saved.match(/<polyline/g) || []).length, 4);
    assert.match(saved, /<desc>[^<]*Likeliest to throw at least 15: 2d20kh1\+5, [^<]*<\/desc>/);
    const [pngFile] = await Promise.all([page.waitForEvent('download'), page.click('#save-png')]);
    assert.deepEqual([...readFileSync(await pngFile.path()).subarray(1, 4)], [0x50, 0x4e, 0x47]);
});

await test('random rolls match the command line', async (page) => {
    let seed = Number(process.env.PIPWRIGHT_WEB_SEED || Date.now() % 100000);
    console.log(`# seed ${seed}`);
    const random = (n) => ((seed = (seed * 16807) % 2147483647), seed % n);
    const roll = () => {
        const dice = 1 + random(8);
        const sides = [2, 4, 6, 8, 10, 12, 20][random(7)];
        const modifier = ['', `kh${1 + random(dice)}`, `kl${1 + random(dice)}`, '!', 'r', `min${1 + random(sides)}`][random(6)];
        const sign = random(2) ? '+' : '-';
        return `${dice}d${sides}${modifier}${random(2) ? sign + random(10) : ''}`;
    };
    await page.goto(server.url + '/');
    for (let round = 0; round < 3; round += 1) {
        const rolls = [roll(), roll(), roll()];
        await typeRolls(page, rolls);
        const target = Number(await page.inputValue('#target'));
        await checkAgainstCli(page, rolls, target);
    }
});

// The plot's lines come from the engine's memory, not its JSON: each roll's
// own chances, in the order of the views, with a labelled roll among them.
await test('the plot draws each roll by its own chances, exactly, at least and at most, however many', async (page) => {
    const rolls = ['let t = 2d6 in if t >= 10 then "hit" else "miss"', '3d6', '4d6kh3-1'];
    await page.goto(link(rolls));
    await answered(page);
    const drawn = await page.evaluate(() => reply.rolls.map((roll) => roll.percents && roll.percents.map((view) => [...view])));
    assert.equal(drawn[0], undefined);
    for (const [i, roll] of rolls.entries()) {
        if (i === 0) continue;
        const chances = Object.values(block(roll).chances).map((text) => Number.parseFloat(text));
        const [exactly, atLeast, atMost] = drawn[i];
        assert.equal(exactly.length, chances.length, roll);
        chances.forEach((chance, j) => {
            const below = chances.slice(0, j + 1).reduce((a, b) => a + b, 0);
            assert.ok(Math.abs(exactly[j] - chance) < 1e-8, `${roll} at ${j}: ${exactly[j]} against ${chance}`);
            assert.ok(Math.abs(atMost[j] - below) < 1e-7, `${roll} at most at ${j}`);
            assert.ok(Math.abs(atLeast[j] - (100 - below + chance)) < 1e-7, `${roll} at least at ${j}`);
        });
    }
    // More totals than a function call takes arguments, all drawn.
    await page.goto(link(['100d1000', '100d1000+1', '1d6']));
    await page.waitForFunction(() => !document.body.dataset.busy && document.querySelectorAll('#stats tbody tr').length === 3, null, { timeout: 60000 });
    assert.equal(await page.$$eval('#plot polyline', (lines) => lines.length), 3);
});

await test('a shared link opens the same comparison, an error is marked where it is', async (page) => {
    await page.goto(link(['2d6', '4d6kx3'], '&t=9&s=atMost&v=atLeast'));
    await answered(page);
    assert.equal(await page.inputValue('#target'), '9');
    assert.equal(await page.inputValue('#sense'), 'atMost');
    assert.ok(await page.isChecked('#view-atLeast'));
    // The command line's message, and its caret under the same character.
    const [said, caretLine] = cli('4d6kx3').split('\n');
    const caret = caretLine.indexOf('^');
    assert.equal(await page.textContent('#status-1'), `4d6kx3At character ${caret + 1}: ${said.replace('4d6kx3: ', '')}`);
    assert.equal(await page.textContent('#status-1 mark'), '4d6kx3'[caret]);
    assert.equal(await page.getAttribute('#roll-1', 'aria-invalid'), 'true');
    assert.equal((await cells(page, '#stats tbody tr'))[0][5], cli('--at-most', '9', '2d6').trim());
    await page.fill('#roll-1', '1d8');
    await answered(page);
    const shared = page.url();
    await page.goto('about:blank');
    await page.goto(shared);
    await answered(page);
    assert.deepEqual((await cells(page, '#stats tbody tr')).map((row) => row[0]), ['2d6', '1d8']);
});

await test('a slow roll says so and stops; a newer edit stops an older count', async (page) => {
    await page.goto(link(['3d6', '100d100!!kl50']));
    await page.waitForSelector('#status-1 button.stop', { timeout: 20000 });
    assert.match(await page.textContent('#status-1'), /^Working\.\.\./);
    await page.click('#status-1 button.stop');
    await answered(page);
    assert.equal(await page.textContent('#status-1'), 'Stopped: edit the roll to count it again.');
    assert.deepEqual((await cells(page, '#stats tbody tr')).map((row) => row[0]), ['3d6']);
    await page.fill('#roll-1', '100d100!!kl50');
    await page.waitForSelector('#status-1 button.stop', { timeout: 20000 });
    await page.fill('#roll-1', '2d4');
    await answered(page);
    assert.deepEqual((await cells(page, '#stats tbody tr')).map((row) => row[0]), ['3d6', '2d4']);
    // The workers after the first were handed its compiled engine.
    assert.ok(await page.evaluate(() => engine instanceof WebAssembly.Module));
});

await test('keyboard and screen reader: labelled boxes, tabs, the plot read aloud in its view, at most eight rolls', async (page) => {
    await page.goto(link(['2d6', '1d12']));
    await answered(page);
    assert.equal(await page.getAttribute('#roll-1', 'id'), await page.$eval('label[for=roll-1]', (label) => label.htmlFor));
    await page.focus('#tab-stats');
    await page.keyboard.press('ArrowRight');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'tab-versus');
    assert.ok(await page.isVisible('#versus') && !(await page.isVisible('#stats')));
    await page.check('#view-atLeast');
    await answered(page);
    await page.focus('#plot');
    await page.keyboard.press('End');
    await page.waitForFunction(() => document.getElementById('plot').getAttribute('aria-label').startsWith('2d6: P(>= 12)'));
    const aloud = await page.getAttribute('#plot', 'aria-label');
    const twelve = (roll) => cli('--at-least', '12', roll).trim();
    assert.equal(aloud, `2d6: P(>= 12) = ${twelve('2d6')}; 1d12: P(>= 12) = ${twelve('1d12')}, Comparison of 2d6, 1d12, at least`);
    for (let i = 0; i < 6; i += 1) await page.click('#add');
    assert.ok(await page.isDisabled('#add'));
    assert.equal(await page.$$eval('#rolls input', (inputs) => inputs.length), 8);
});

await test('the chart saved as SVG and PNG: the plot drawn, titled and described', async (page) => {
    await page.goto(link(['2d6', '1d12']));
    await answered(page);
    const saved = async (button) => {
        const [download] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
        return { name: download.suggestedFilename(), body: readFileSync(await download.path()) };
    };
    const svg = await saved('#save-svg');
    assert.equal(svg.name, 'compare.svg');
    const text = svg.body.toString('utf8');
    assert.match(text, /^<svg[^>]*xmlns="http:\/\/www\.w3\.org\/2000\/svg"/);
    assert.match(text, /<title>2d6, 1d12, exactly<\/title>/);
    assert.match(text, /<desc>[^<]*Totals 1 to 12\./);
    assert.equal((text.match(/<polyline/g) || []).length, 2);
    const png = await saved('#save-png');
    assert.equal(png.name, 'compare.png');
    assert.equal(png.body.subarray(1, 4).toString('latin1'), 'PNG');
    const size = { width: png.body.readUInt32BE(16), height: png.body.readUInt32BE(20) };
    const frame = await page.$eval('#plot', (plot) => ({ width: plot.frame.width, height: plot.frame.height }));
    assert.deepEqual(size, frame);
});

await test('from file://, in German, on a 360 px screen', async (page) => {
    await page.goto(pathToFileURL(path.join(site, 'index.html')).href + '#r=4d6kh3&r=3d6');
    await answered(page);
    assert.equal(await page.textContent('h1'), 'Würfe vergleichen');
    assert.deepEqual((await cells(page, '#stats thead tr'))[0].slice(0, 3), ['Wurf', 'Kleinste', 'Größte']);
    assert.equal((await cells(page, '#stats tbody tr'))[1][5], cli('--at-least', '15', '3d6').trim());
    assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= 360), 'the page is wider than the screen');
    // The statistics one roll under the other, each figure beside its heading, none out of sight.
    assert.ok(await page.$eval('#page-stats', (box) => box.scrollWidth <= box.clientWidth), 'the statistics scroll sideways');
    assert.equal(await page.$eval('#stats tbody tr:nth-child(2) td:nth-child(2)', (cell) => getComputedStyle(cell, '::before').content), '"Kleinste"');
    // The engine's English errors in the window's German, the numbers carried over.
    await page.fill('#roll-1', '4d6kh9');
    await answered(page);
    assert.equal(await page.$eval('#status-1', (status) => status.lastChild.textContent), 'Bei Zeichen 6: von 4 Würfeln lassen sich nicht 9 behalten');
    await page.fill('#roll-1', '2d6 + ä');
    await answered(page);
    assert.equal(await page.$eval('#status-1', (status) => status.lastChild.textContent), 'Bei Zeichen 7: Zeichen U+00E4: In einen Ausdruck gehören nur ASCII-Zeichen');
    await page.fill('#roll-1', '100d100!!kl50');
    await page.waitForSelector('#status-1 button.stop', { timeout: 20000 });
    assert.equal(await page.textContent('#status-1'), 'Wird berechnet...Anhalten');
}, { locale: 'de-DE', viewport: { width: 360, height: 740 } });

await browser.close();
server.close();
console.log(`${passed} passed, ${failures.length} failed`);
process.exit(failures.length ? 1 : 0);
