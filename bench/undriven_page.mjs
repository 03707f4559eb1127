// A page timed in a Chromium of its own that no driver is attached to.
// Playwright attaches to every worker as it starts, and a fresh worker's
// first count, still on the browser's baseline code, takes about twice as
// long that way; a visitor's browser has nothing attached. The answer is
// read over the DevTools protocol from the page alone, once it is in.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

function devToolsPort(chrome) {
    return new Promise((resolve, reject) => {
        let text = '';
        chrome.stderr.on('data', (chunk) => {
            text += chunk;
            const found = text.match(/DevTools listening on ws:\/\/[^:]+:(\d+)\//);
            if (found) resolve(Number(found[1]));
        });
        chrome.on('exit', () => reject(new Error(`Chromium ended before it listened:\n${text}`)));
    });
}

function evaluator(socketUrl) {
    const socket = new WebSocket(socketUrl);
    const pending = new Map();
    let next = 0;
    socket.addEventListener('message', ({ data }) => {
        const message = JSON.parse(data);
        pending.get(message.id)?.(message.result?.result?.value);
        pending.delete(message.id);
    });
    const opened = new Promise((resolve) => socket.addEventListener('open', resolve));
    return {
        evaluate: async (expression) => {
            await opened;
            const id = ++next;
            const answer = new Promise((resolve) => pending.set(id, resolve));
            socket.send(JSON.stringify({ id, method: 'Runtime.evaluate', params: { expression, returnByValue: true } }));
            return answer;
        },
        close: () => socket.close(),
    };
}

// The worker's milliseconds for the first answer of the page at `url`, or
// null where this Node.js has no WebSocket (before 22 it needs
// --experimental-websocket).
export async function undrivenWorkerMs(url, executable) {
    if (typeof WebSocket === 'undefined')
        return null;
    const profile = mkdtempSync(path.join(tmpdir(), 'pipwright-bench-'));
    const chrome = spawn(executable, ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        `--user-data-dir=${profile}`, '--remote-debugging-port=0', 'about:blank'], { stdio: ['ignore', 'ignore', 'pipe'], detached: true });
    try {
        const port = await devToolsPort(chrome);
        // The page opens once the browser has started, not amid its start.
        await new Promise((resolve) => setTimeout(resolve, 1500));
        const page = await (await fetch(`http://127.0.0.1:${port}/json/new?${encodeURIComponent(url)}`, { method: 'PUT' })).json();
        const devTools = evaluator(page.webSocketDebuggerUrl);
        const read = "!document.body.dataset.busy && document.body.dataset.workerMs || ''";
        for (let waited = 0; waited < 120000; waited += 50) {
            const ms = await devTools.evaluate(read);
            if (ms) {
                const first = await devTools.evaluate("document.querySelector('#stats tbody tr th, #stats tbody tr td').textContent");
                devTools.close();
                if (`#r=${encodeURIComponent(first)}` !== new URL(url).hash.split('&')[0])
                    throw new Error(`${url} answered ${first}`);
                return Number(ms);
            }
            await new Promise((resolve) => setTimeout(resolve, 50));
        }
        throw new Error(`no answer from ${url}`);
    } finally {
        process.kill(-chrome.pid, 'SIGKILL');
        await new Promise((resolve) => setTimeout(resolve, 200));
        rmSync(profile, { recursive: true, force: true });
    }
}
