// What the browser tests and the benchmark share: the page served from its
// folder on loopback, and Debian's Chromium started as this machine needs it.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import path from 'node:path';

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css' };

export function serve(site) {
    const server = createServer(async (request, response) => {
        const name = new URL(request.url, 'http://localhost').pathname.replace(/\/$/, '/index.html');
        try {
            const body = await readFile(path.join(site, path.normalize(name)));
            response.writeHead(200, { 'content-type': TYPES[path.extname(name)] || 'application/octet-stream' });
            response.end(body);
        } catch {
            response.writeHead(404).end();
        }
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () => {
        resolve({ url: `http://127.0.0.1:${server.address().port}`, close: () => server.close() });
    }));
}

// Without the background networking flags Chromium keeps reaching for
// Google's hosts, which this closed network refuses.
export const launchOptions = () => ({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync'],
});
