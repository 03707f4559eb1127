// The counting side of the page. It runs after the engine's own script in
// one worker, made from a Blob so that a page opened from file:// can start
// it. The page ends the worker to stop a count: a count never yields.
'use strict';

let ready = null;
let memory = null;

// The page's first message holds the engine's module, compiled by an
// earlier worker, or its bytes as base64. The first worker compiles them and
// hands the module to the page; a worker started after a stop instantiates
// that module at once, with whatever optimised code the browser has made of
// it meanwhile, rather than compiling a megabyte of WebAssembly again.
function start({ engine: module, wasm }) {
    const compile = () => {
        // Newer browsers decode base64 natively: 1-2 ms for the engine in
        // Chromium 156 here, against 11-15 ms for the loop.
        let bytes;
        if (Uint8Array.fromBase64) {
            bytes = Uint8Array.fromBase64(wasm);
        } else {
            const text = atob(wasm);
            bytes = new Uint8Array(text.length);
            for (let i = 0; i < text.length; i += 1)
                bytes[i] = text.charCodeAt(i);
        }
        return WebAssembly.compile(bytes).then((made) => {
            try {
                self.postMessage({ engine: made });
            } catch {
                // A browser that cannot pass a module on compiles it in every worker.
            }
            return made;
        });
    };
    ready = PipwrightEngine({
        instantiateWasm(imports, receive) {
            (module ? Promise.resolve(module) : compile())
                .then((made) => WebAssembly.instantiate(made, imports).then((instance) => {
                    // Found by its kind: Emscripten may shorten the names of exports.
                    memory = Object.values(instance.exports).find((item) => item instanceof WebAssembly.Memory);
                    receive(instance, made);
                }));
            return {};
        },
    }).then((engine) => ({
        count: engine.cwrap('pw_count', 'string', ['string']),
        compare: engine.cwrap('pw_compare', 'string', ['string']),
        readouts: engine.cwrap('pw_readouts', 'string', ['number', 'string']),
        csv: engine.cwrap('pw_csv', 'string', []),
        percents: engine.cwrap('pw_percents', 'number', ['number', 'number']),
    }));
}

// Each roll of totals gets its plot's percents, copied out of the engine's
// memory, which a later count may grow and so move. A reply that is an
// error has no rolls.
function withPercents(engine, reply) {
    const buffers = [];
    (reply.rolls || []).forEach((roll, index) => {
        if (roll.labelled)
            return;
        roll.percents = [0, 1, 2].map((view) => {
            const start = engine.percents(index, view);
            const copy = new Float64Array(memory.buffer, start, roll.count).slice();
            buffers.push(copy.buffer);
            return copy;
        });
    });
    return buffers;
}

self.onmessage = async ({ data }) => {
    if (!ready) {
        start(data);
        return;
    }
    const engine = await ready;
    if (data.compare) {
        const request = data.compare;
        const started = performance.now();
        // Each roll is counted on its own first, so that the page can say
        // which one takes long.
        request.rolls.forEach((text, row) => {
            if (text.trim() === '')
                return;
            self.postMessage({ id: data.id, counting: row });
            engine.count(text);
        });
        const reply = JSON.parse(engine.compare(JSON.stringify(request)));
        const buffers = withPercents(engine, reply);
        // How long the answer took here, for the benchmark.
        self.postMessage({ id: data.id, reply, ms: performance.now() - started }, buffers);
    } else if (data.readouts) {
        const { total, view } = data.readouts;
        self.postMessage({ id: data.id, readouts: JSON.parse(engine.readouts(total, view)), total, view });
    } else if (data.csv) {
        self.postMessage({ id: data.id, csv: JSON.parse(engine.csv()) });
    }
};
