// The counting side of the page. It runs after the engine's own script in
// one worker, made from a Blob so that a page opened from file:// can start
// it. The page ends the worker to stop a count: a count never yields.
'use strict';

const ready = PipwrightEngine().then((engine) => ({
    count: engine.cwrap('pw_count', 'string', ['string']),
    compare: engine.cwrap('pw_compare', 'string', ['string']),
    readouts: engine.cwrap('pw_readouts', 'string', ['number', 'string']),
    csv: engine.cwrap('pw_csv', 'string', []),
}));

self.onmessage = async ({ data }) => {
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
        // How long the answer took here, for the benchmark.
        self.postMessage({ id: data.id, reply, ms: performance.now() - started });
    } else if (data.readouts) {
        const { total, view } = data.readouts;
        self.postMessage({ id: data.id, readouts: JSON.parse(engine.readouts(total, view)), total, view });
    } else if (data.csv) {
        self.postMessage({ id: data.id, csv: JSON.parse(engine.csv()) });
    }
};
