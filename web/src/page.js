// Compare Rolls in a browser. The page only lays out what the engine in the
// worker writes: every number shown, copied or read aloud is the engine's
// text, so it matches the window and the command line to the last digit.
'use strict';

const MOST_ROLLS = 8;
const SLOW_MS = 300; // a count that takes longer says so and can be stopped
const VIEWS = ['exactly', 'atLeast', 'atMost'];
const SENSES = ['atLeast', 'atMost', 'exactly'];
const COLOURS = ['#1f5fbf', '#c0392b', '#2e8b57', '#8e44ad', '#d35400', '#16808c', '#7f6000', '#555555'];
const DASHES = ['', '6 3', '2 3', '8 3 2 3', '', '6 3', '2 3', '8 3 2 3'];

// German where the browser asks for it, from the window's own translations.
const german = (navigator.languages && navigator.languages[0] || navigator.language || '').toLowerCase().startsWith('de');
const tr = (source, ...args) => {
    const text = german && self.PIPWRIGHT_DE && self.PIPWRIGHT_DE[source] !== undefined ? self.PIPWRIGHT_DE[source] : source;
    return text.replace(/%(\d)/g, (whole, n) => (args[n - 1] !== undefined ? String(args[n - 1]) : whole));
};
// The engine writes its notation errors in English. The window's German for
// each is found by its English pattern, whose %1, %2 are carried over, each
// translated in turn ("character %1" inside "unexpected %1: ..."); the more
// of a pattern is fixed text, the sooner it is tried.
const errorPatterns = (self.PIPWRIGHT_DE_ERRORS || []).map(([source, text]) => {
    const order = [];
    const pattern = source.split(/%(\d)/).map((part, i) => (i % 2 ? (order.push(Number(part)), '(.+?)') : part.replace(/[.*+?^${}()|[\]\\]/g, '\\$&'))).join('');
    return { match: new RegExp(`^${pattern}$`, 's'), order, text, fixed: source.replace(/%\d/g, '').length };
}).sort((a, b) => b.fixed - a.fixed);
const trError = (message) => {
    if (!german) return message;
    for (const { match, order, text } of errorPatterns) {
        const found = match.exec(message);
        if (!found) continue;
        const args = [];
        order.forEach((n, i) => { args[n - 1] = trError(found[i + 1]); });
        return text.replace(/%(\d)/g, (whole, n) => (args[n - 1] !== undefined ? args[n - 1] : whole));
    }
    return message;
};
const viewLabel = (view) => tr({ exactly: 'exactly', atLeast: 'at least', atMost: 'at most' }[view]);
const andList = (names) => (names.length < 2 ? names.join('') : tr('%1 and %2', names.slice(0, -1).join(', '), names[names.length - 1]));

const state = { rolls: ['4d6kh3', '3d6'], target: 15, sense: 'atLeast', view: 'exactly', cursor: null };
let reply = null; // the engine's last answer to the rolls as typed
const stopped = new Set(); // rows whose count was stopped, until edited
const $ = (id) => document.getElementById(id);
const element = (tag, props = {}, children = []) => {
    const node = document.createElement(tag);
    for (const [key, value] of Object.entries(props)) {
        if (key === 'text') node.textContent = value;
        else if (key.startsWith('aria') || key === 'role' || key === 'for' || key === 'colspan' || key === 'scope') node.setAttribute(key.replace(/^aria(.)/, (m, c) => 'aria-' + c.toLowerCase()), value);
        else node[key] = value;
    }
    for (const child of children) node.append(child);
    return node;
};

// --- The address: the rolls, target and view after '#', so a link opens the same comparison.
function readAddress() {
    const params = new URLSearchParams(location.hash.slice(1));
    if (!params.has('r')) return;
    state.rolls = params.getAll('r').slice(0, MOST_ROLLS);
    if (state.rolls.length === 0) state.rolls = [''];
    const target = Number.parseInt(params.get('t'), 10);
    if (Number.isFinite(target)) state.target = Math.max(-999999999, Math.min(999999999, target));
    if (SENSES.includes(params.get('s'))) state.sense = params.get('s');
    if (VIEWS.includes(params.get('v'))) state.view = params.get('v');
}

function writeAddress() {
    const params = new URLSearchParams();
    state.rolls.forEach((roll) => params.append('r', roll));
    params.set('t', state.target);
    params.set('s', state.sense);
    params.set('v', state.view);
    history.replaceState(null, '', '#' + params.toString());
}

// --- The worker. A newer edit ends a count still running and starts afresh.
let worker = null;
let busy = false;
let requestId = 0;
let slowTimer = 0;
let askedCursor = null; // the cursor that the last request's readouts are for
let engine = null; // the engine's compiled WebAssembly, once a worker has made it

function startWorker() {
    if (worker) worker.terminate();
    const url = URL.createObjectURL(new Blob([self.PIPWRIGHT_WORKER], { type: 'text/javascript' }));
    worker = new Worker(url);
    URL.revokeObjectURL(url);
    worker.onmessage = ({ data }) => {
        if (data.engine) engine = data.engine;
        else answered(data);
    };
    worker.postMessage(engine ? { engine } : { wasm: self.PIPWRIGHT_WASM });
    busy = false;
}

function compute() {
    writeAddress();
    if (busy) startWorker();
    busy = true;
    const id = ++requestId;
    const rolls = state.rolls.map((roll, row) => (stopped.has(row) ? '' : roll));
    askedCursor = state.cursor;
    worker.postMessage({ id, compare: { rolls, target: state.target, sense: state.sense, view: state.view, cursor: state.cursor } });
    clearTimeout(slowTimer);
    document.body.dataset.busy = 'true';
}

function answered(data) {
    if (data.id !== requestId) return;
    if (data.counting !== undefined) {
        clearTimeout(slowTimer);
        slowTimer = setTimeout(() => showWorking(data.counting), SLOW_MS);
    } else if (data.reply) {
        clearTimeout(slowTimer);
        busy = false;
        delete document.body.dataset.busy;
        document.body.dataset.workerMs = data.ms.toFixed(1);
        reply = data.reply;
        showReply();
    } else if (data.readouts) {
        if (data.total === state.cursor && data.view === state.view) showReadouts(data.readouts);
    } else if (data.csv) {
        copied(data.csv);
    }
}

function stop(row) {
    stopped.add(row);
    startWorker();
    compute();
}

// --- The roll boxes.
function buildRows() {
    const box = $('rolls');
    box.replaceChildren();
    state.rolls.forEach((text, row) => {
        const input = element('input', { id: `roll-${row}`, type: 'text', value: text, spellcheck: false, autocomplete: 'off', autocapitalize: 'off', ariaDescribedby: `status-${row}` });
        input.style.setProperty('--swatch', COLOURS[row]);
        input.addEventListener('input', () => {
            state.rolls[row] = input.value;
            stopped.delete(row);
            compute();
        });
        const remove = element('button', { type: 'button', text: tr('Remove'), ariaLabel: tr('Remove roll %1', row + 1), disabled: state.rolls.length < 2 });
        remove.addEventListener('click', () => {
            state.rolls.splice(row, 1);
            stopped.clear();
            buildRows();
            compute();
            $(`roll-${Math.min(row, state.rolls.length - 1)}`).focus();
        });
        const status = element('div', { id: `status-${row}`, className: 'status', role: 'status' });
        box.append(element('div', { className: 'row' }, [element('label', { for: `roll-${row}`, text: tr('Roll %1', row + 1) }), input, remove, status]));
    });
    $('add').disabled = state.rolls.length >= MOST_ROLLS;
}

function showWorking(row) {
    const status = $(`status-${row}`);
    if (!status) return;
    const button = element('button', { type: 'button', text: tr('Stop'), className: 'stop' });
    button.addEventListener('click', () => stop(row));
    status.className = 'status working';
    status.replaceChildren(tr('Working...'), button);
}

function showStatus(row, error) {
    const status = $(`status-${row}`);
    const input = $(`roll-${row}`);
    if (!status) return;
    status.className = 'status';
    input.removeAttribute('aria-invalid');
    if (stopped.has(row)) {
        status.textContent = tr('Stopped: edit the roll to count it again.');
        return;
    }
    if (!error) {
        status.replaceChildren();
        return;
    }
    status.className = 'status error';
    input.setAttribute('aria-invalid', 'true');
    if (error.position === undefined) {
        status.textContent = tr('This roll could not be counted: %1', error.message);
        return;
    }
    // The text again with the place of the error marked, as the window
    // underlines it, and the message under it.
    // The engine's place is in UTF-16 units; the message counts characters,
    // as the window does, and the mark takes the whole character.
    const typed = state.rolls[row];
    const at = error.at;
    const marked = [...typed.slice(at)][0] || '';
    const echo = element('span', { className: 'echo', ariaHidden: 'true' }, [typed.slice(0, at), element('mark', { text: marked || ' ' }), typed.slice(at + marked.length)]);
    status.replaceChildren(echo, tr('At character %1: %2', [...typed.slice(0, at)].length + 1, trError(error.message)));
}

// --- The tables.
function showReply() {
    reply.rows.forEach((error, row) => showStatus(row, error));
    fillStatistics();
    fillHeadToHead();
    drawPlot();
    const any = reply.rolls.length > 0;
    for (const id of ['copy', 'save-svg', 'save-png']) $(id).disabled = !any;
    showReadouts(askedCursor === state.cursor ? reply.readouts : null);
    if (askedCursor !== state.cursor && state.cursor !== null) worker.postMessage({ id: requestId, readouts: { total: state.cursor, view: state.view } });
}

function fillStatistics() {
    const table = $('stats');
    const heads = [tr('Roll'), tr('Lowest'), tr('Highest'), tr('Mean'), tr('Std. deviation'), tr('Chance of %1 %2', viewLabel(state.sense), state.target), tr('At cursor')];
    const body = reply.rolls.map((roll, i) => {
        const name = element('td', { className: 'roll', text: roll.expression, title: roll.expression });
        if (roll.labelled) {
            const exact = tr('Labels: %1', roll.exactShares);
            return element('tr', {}, [name, element('td', { className: 'labels', colspan: 6, text: roll.shares, title: exact, ariaLabel: exact })]);
        }
        // Each cell carries its heading, which a phone's narrow layout shows
        // beside it, one roll under the other.
        const cells = [...roll.cells.slice(1).map((text, column) => element('td', { text: column === 1 && roll.unbounded ? tr('unbounded') : text })),
            element('td', { id: `cursor-${i}` })];
        cells.forEach((cell, column) => (cell.dataset.head = heads[column + 1]));
        return element('tr', {}, [name, ...cells]);
    });
    table.replaceChildren(
        element('caption', { className: 'sr', text: tr('Statistics of the rolls'), hidden: true }),
        element('thead', {}, [element('tr', {}, heads.map((text) => element('th', { scope: 'col', text })))]),
        element('tbody', {}, body));
    table.setAttribute('aria-label', tr('Statistics of the rolls'));
    // Stated, so that the narrow layout's blocks stay a table to a screen reader.
    table.setAttribute('role', 'table');
    const roles = { THEAD: 'rowgroup', TBODY: 'rowgroup', TR: 'row', TH: 'columnheader', TD: 'cell' };
    table.querySelectorAll('thead, tbody, tr, th, td').forEach((node) => node.setAttribute('role', roles[node.tagName]));
}

function fillHeadToHead() {
    const table = $('versus');
    table.setAttribute('aria-label', tr('Chance of each roll to beat each other'));
    const totals = reply.rolls.filter((roll) => !roll.labelled);
    const numbers = totals.map((roll) => roll.row + 1);
    const head = element('tr', {}, [element('th', { scope: 'col', text: '' }), element('th', { scope: 'col', text: tr('Roll') }),
        ...totals.map((roll, i) => element('th', { scope: 'col', text: numbers[i], title: tr('Chance to beat roll %1, %2', numbers[i], roll.expression), ariaLabel: tr('Chance to beat roll %1, %2', numbers[i], roll.expression) }))]);
    const rows = totals.map((first, row) => element('tr', {}, [element('th', { scope: 'row', text: numbers[row] }), element('td', { className: 'roll', text: first.expression, title: first.expression }),
        ...totals.map((second, column) => {
            const cell = reply.headToHead[row][column];
            let summary = tr('%1 vs %2: wins %3, ties %4, loses %5', first.expression, second.expression, cell.wins, cell.ties, cell.loses);
            if (cell.undecided) summary += tr('; undecided %1', cell.undecided);
            return element('td', { text: cell.shown, title: summary, ariaDescription: summary });
        })]));
    table.replaceChildren(element('thead', {}, [head]), element('tbody', {}, rows));
    const leftOut = reply.rolls.filter((roll) => roll.labelled).map((roll) => String(roll.row + 1));
    const note = $('left-out');
    note.hidden = leftOut.length === 0;
    note.textContent = leftOut.length === 1 ? tr('Left out of head to head: roll %1, whose results are labels.', leftOut[0])
        : tr('Left out of head to head: rolls %1, whose results are labels.', andList(leftOut));
}

// --- The plot: every totals roll in the view, on stretches of the totals axis.
const PLOT = { left: 52, right: 12, top: 12, bottom: 30, gap: 14 };

function layout() {
    const width = Math.max(300, Math.round($('plot-box').clientWidth || 600));
    const height = width < 500 ? 240 : 320;
    const room = width - PLOT.left - PLOT.right - PLOT.gap * (reply.stretches.length - 1);
    let x = PLOT.left;
    const segments = reply.stretches.map(([lowest, highest], i) => {
        const slot = reply.widths[i] * room;
        const segment = { lowest, highest, left: x, slot };
        x += slot * (highest - lowest + 1) + PLOT.gap;
        return segment;
    });
    return { width, height, segments };
}

function xOf(frame, total) {
    const segment = frame.segments.find((s) => total >= s.lowest && total <= s.highest);
    return segment.left + (total - segment.lowest + 0.5) * segment.slot;
}

function niceStep(highest) {
    const raw = highest / 4;
    const power = 10 ** Math.floor(Math.log10(raw));
    return [1, 2, 2.5, 5, 10].map((m) => m * power).find((step) => step >= raw);
}

function svg(tag, attributes = {}, text) {
    const node = document.createElementNS('http://www.w3.org/2000/svg', tag);
    for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
    if (text !== undefined) node.textContent = text;
    return node;
}

function plotTitle() {
    const names = reply.rolls.map((roll) => roll.expression);
    if (names.length === 0) return tr('No valid roll');
    if (reply.rolls.every((roll) => roll.labelled)) return names.join(', ');
    return names.join(', ') + ', ' + viewLabel(state.view);
}

function plotSummary() {
    if (reply.rolls.length === 0) return tr('Type a roll in the notation, such as 2d20kh1, to see it here.');
    const labels = reply.rolls.filter((roll) => roll.labelled).map((roll) => ' ' + tr('%1 gives labels: %2.', roll.expression, roll.exactShares)).join('');
    if (reply.rolls.every((roll) => roll.labelled)) return plotTitle() + '.' + labels;
    let summary = tr('%1. Totals %2 to %3.', plotTitle(), reply.lowest, reply.highest);
    const target = viewLabel(state.sense) + ' ' + state.target;
    const best = reply.likeliest;
    const name = (i) => reply.rolls[i].expression;
    if (best.percent === '') summary += ' ' + tr('No roll can throw %1.', target);
    else if (best.rolls.length === 1) summary += ' ' + tr('Likeliest to throw %1: %2, %3.', target, name(best.rolls[0]), best.percent);
    else summary += ' ' + tr('Likeliest to throw %1: %2, %3 each.', target, andList(best.rolls.map(name)), best.percent);
    return summary + labels;
}

function drawPlot() {
    const plot = $('plot');
    const totals = reply.rolls.filter((roll) => !roll.labelled);
    const frame = totals.length ? layout() : { width: Math.max(300, $('plot-box').clientWidth || 600), height: 120, segments: [] };
    plot.setAttribute('viewBox', `0 0 ${frame.width} ${frame.height}`);
    plot.setAttribute('width', frame.width);
    plot.setAttribute('height', frame.height);
    plot.replaceChildren(svg('rect', { x: 0, y: 0, width: frame.width, height: frame.height, fill: '#ffffff' }));
    $('summary').textContent = plotSummary();
    plot.setAttribute('aria-label', tr('Comparison of %1', plotTitle()));
    plot.setAttribute('aria-describedby', 'summary readout');
    if (!totals.length) return;
    const view = VIEWS.indexOf(state.view);
    // A loop, not a spread: a roll may have more totals than a call takes arguments.
    let highest = 1e-9;
    for (const roll of totals) roll.percents[view].forEach((percent) => (highest = Math.max(highest, percent)));
    const step = niceStep(highest);
    const top = Math.ceil(highest / step) * step;
    const bottom = frame.height - PLOT.bottom;
    const yOf = (percent) => bottom - (percent / top) * (bottom - PLOT.top);
    const style = { 'font-size': 11, 'font-family': 'sans-serif', fill: '#333' };
    for (let value = 0; value <= top + step / 2; value += step) {
        plot.append(svg('line', { x1: PLOT.left, x2: frame.width - PLOT.right, y1: yOf(value), y2: yOf(value), stroke: '#e3e3e3' }));
        plot.append(svg('text', { ...style, x: PLOT.left - 4, y: yOf(value) + 4, 'text-anchor': 'end' }, `${+value.toPrecision(4)}%`));
    }
    for (const segment of frame.segments) {
        const span = segment.highest - segment.lowest + 1;
        const every = Math.max(1, Math.ceil((span * 34) / (segment.slot * span)));
        const right = segment.left + segment.slot * span;
        plot.append(svg('line', { x1: segment.left, x2: right, y1: bottom, y2: bottom, stroke: '#333' }));
        for (let total = segment.lowest; total <= segment.highest; total += 1) {
            if ((total - segment.lowest) % every !== 0 && total !== segment.highest) continue;
            if (total === segment.highest && (total - segment.lowest) % every !== 0 && (total - segment.lowest) % every < every / 2) continue;
            const x = xOf(frame, total);
            plot.append(svg('line', { x1: x, x2: x, y1: bottom, y2: bottom + 4, stroke: '#333' }));
            plot.append(svg('text', { ...style, x, y: bottom + 16, 'text-anchor': 'middle' }, total));
        }
    }
    totals.forEach((roll) => {
        const points = Array.from(roll.percents[view], (percent, i) => `${xOf(frame, roll.lowest + i).toFixed(2)},${yOf(percent).toFixed(2)}`);
        const line = svg('polyline', { points: points.join(' '), fill: 'none', stroke: COLOURS[roll.row], 'stroke-width': 2, 'stroke-linejoin': 'round' });
        if (DASHES[roll.row]) line.setAttribute('stroke-dasharray', DASHES[roll.row]);
        plot.append(line);
    });
    if (state.cursor !== null && frame.segments.some((s) => state.cursor >= s.lowest && state.cursor <= s.highest)) {
        const x = xOf(frame, state.cursor);
        plot.append(svg('line', { x1: x, x2: x, y1: PLOT.top, y2: bottom, stroke: '#000', 'stroke-dasharray': '3 3', id: 'cursor-line' }));
        totals.forEach((roll) => {
            const percent = roll.percents[view][state.cursor - roll.lowest];
            if (percent !== undefined) plot.append(svg('circle', { cx: x, cy: yOf(percent), r: 4, fill: COLOURS[roll.row] }));
        });
    }
    plot.frame = frame;
}

// The cursor steps through the totals of every stretch in turn.
function axisTotals() {
    return reply ? reply.stretches.flatMap(([lowest, highest]) => Array.from({ length: highest - lowest + 1 }, (v, i) => lowest + i)) : [];
}

function moveCursor(total) {
    if (total === state.cursor) return;
    state.cursor = total;
    drawPlot();
    showReadouts(null);
    if (total !== null && !busy) worker.postMessage({ id: requestId, readouts: { total, view: state.view } });
}

function showReadouts(readouts) {
    const totals = reply ? reply.rolls.filter((roll) => !roll.labelled) : [];
    reply.rolls.forEach((roll, i) => {
        const cell = $(`cursor-${i}`);
        if (cell) cell.textContent = readouts ? readouts[i] : '';
    });
    $('readout').textContent = state.cursor === null || !totals.length ? tr('Point at the plot, or use the arrow keys, Home and End.') : tr("At %1: every roll's chance is in the last column.", state.cursor);
    if (readouts && state.cursor !== null) {
        const parts = reply.rolls.map((roll, i) => (roll.labelled ? null : `${roll.expression}: ${readouts[i]}`)).filter(Boolean);
        $('plot').setAttribute('aria-label', parts.join('; ') + ', ' + tr('Comparison of %1', plotTitle()));
    }
}

function plotKey(event) {
    const totals = axisTotals();
    if (!totals.length) return;
    const at = totals.indexOf(state.cursor);
    const moves = { ArrowLeft: at < 0 ? 0 : Math.max(0, at - 1), ArrowRight: at < 0 ? 0 : Math.min(totals.length - 1, at + 1), Home: 0, End: totals.length - 1 };
    if (!(event.key in moves)) return;
    event.preventDefault();
    moveCursor(totals[moves[event.key]]);
}

function plotPointer(event) {
    const plot = $('plot');
    if (!plot.frame || !plot.frame.segments.length) return;
    const box = plot.getBoundingClientRect();
    const x = ((event.clientX - box.left) / box.width) * plot.frame.width;
    let nearest = plot.frame.segments[0];
    for (const segment of plot.frame.segments) if (x >= segment.left - 2 * PLOT.gap) nearest = segment;
    const offset = Math.floor((x - nearest.left) / nearest.slot);
    moveCursor(Math.max(nearest.lowest, Math.min(nearest.highest, nearest.lowest + offset)));
}

// --- Copy and save.
function copyTable() {
    if (!reply || !reply.rolls.length) return;
    if (busy) return;
    worker.postMessage({ id: requestId, csv: true });
}

async function copied(answer) {
    const note = $('copied');
    if (answer.error) {
        note.textContent = tr('The table could not be copied: %1', answer.error);
        return;
    }
    document.body.dataset.copied = answer.csv;
    try {
        await navigator.clipboard.writeText(answer.csv);
    } catch (error) {
        // Where the clipboard API is refused, as on some file:// pages.
        const area = element('textarea', { value: answer.csv });
        document.body.append(area);
        area.select();
        document.execCommand('copy');
        area.remove();
    }
    note.textContent = tr('Table copied.');
}

function chartText() {
    const plot = $('plot').cloneNode(true);
    plot.removeAttribute('tabindex');
    plot.prepend(svg('desc', {}, plotSummary()));
    plot.prepend(svg('title', {}, plotTitle()));
    return new XMLSerializer().serializeToString(plot);
}

function download(blob, name) {
    const url = URL.createObjectURL(blob);
    const link = element('a', { href: url, download: name });
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
}

function saveSvg() {
    download(new Blob([chartText()], { type: 'image/svg+xml' }), 'compare.svg');
}

function savePng() {
    const frame = $('plot').frame || { width: 600, height: 120 };
    const image = new Image();
    const url = URL.createObjectURL(new Blob([chartText()], { type: 'image/svg+xml' }));
    image.onload = () => {
        const ratio = Math.max(1, window.devicePixelRatio || 1);
        const canvas = element('canvas', { width: frame.width * ratio, height: frame.height * ratio });
        const context = canvas.getContext('2d');
        context.scale(ratio, ratio);
        context.drawImage(image, 0, 0, frame.width, frame.height);
        URL.revokeObjectURL(url);
        canvas.toBlob((blob) => download(blob, 'compare.png'), 'image/png');
    };
    image.src = url;
}

// --- Start.
function buildControls() {
    document.documentElement.lang = german ? 'de' : 'en';
    document.title = tr('Compare Rolls');
    $('title').textContent = tr('Compare Rolls');
    $('add').textContent = tr('Add Roll');
    $('target-label').textContent = tr('Target:');
    $('target').setAttribute('aria-label', tr('Target'));
    $('target').value = state.target;
    const sense = $('sense');
    sense.setAttribute('aria-label', tr('Target sense'));
    sense.replaceChildren(...SENSES.map((value) => element('option', { value, text: viewLabel(value), selected: value === state.sense })));
    $('tab-stats').textContent = tr('Statistics');
    $('tab-versus').textContent = tr('Head to head');
    $('copy').textContent = tr('Copy Table');
    $('save-svg').textContent = tr('Save Chart as SVG');
    $('save-png').textContent = tr('Save Chart as PNG');
    const views = $('views');
    views.setAttribute('aria-label', tr('View'));
    views.replaceChildren(...VIEWS.map((value) => {
        const input = element('input', { type: 'radio', name: 'view', value, checked: value === state.view, id: `view-${value}` });
        input.addEventListener('change', () => {
            state.view = value;
            compute();
        });
        return element('label', { for: `view-${value}` }, [input, ' ' + tr({ exactly: 'Exactly', atLeast: 'At least', atMost: 'At most' }[value])]);
    }));
}

function selectTab(versus) {
    $('tab-stats').setAttribute('aria-selected', String(!versus));
    $('tab-versus').setAttribute('aria-selected', String(versus));
    $('tab-stats').tabIndex = versus ? -1 : 0;
    $('tab-versus').tabIndex = versus ? 0 : -1;
    $('page-stats').hidden = versus;
    $('page-versus').hidden = !versus;
}

function wire() {
    $('add').addEventListener('click', () => {
        if (state.rolls.length >= MOST_ROLLS) return;
        state.rolls.push('');
        buildRows();
        compute();
        $(`roll-${state.rolls.length - 1}`).focus();
    });
    $('target').addEventListener('input', () => {
        const value = Number.parseInt($('target').value, 10);
        if (!Number.isFinite(value)) return;
        state.target = Math.max(-999999999, Math.min(999999999, value));
        compute();
    });
    $('sense').addEventListener('change', () => {
        state.sense = $('sense').value;
        compute();
    });
    $('tab-stats').addEventListener('click', () => selectTab(false));
    $('tab-versus').addEventListener('click', () => selectTab(true));
    for (const tab of ['tab-stats', 'tab-versus']) {
        $(tab).addEventListener('keydown', (event) => {
            if (event.key !== 'ArrowLeft' && event.key !== 'ArrowRight') return;
            const versus = tab === 'tab-stats';
            selectTab(versus);
            $(versus ? 'tab-versus' : 'tab-stats').focus();
        });
    }
    const plot = $('plot');
    plot.addEventListener('keydown', plotKey);
    plot.addEventListener('pointermove', plotPointer);
    plot.addEventListener('pointerdown', plotPointer);
    $('copy').addEventListener('click', copyTable);
    $('save-svg').addEventListener('click', saveSvg);
    $('save-png').addEventListener('click', savePng);
    document.addEventListener('keydown', (event) => {
        if ((event.ctrlKey || event.metaKey) && event.shiftKey && event.key.toLowerCase() === 'c') {
            event.preventDefault();
            copyTable();
        }
    });
    window.addEventListener('hashchange', () => {
        readAddress();
        stopped.clear();
        buildControls();
        buildRows();
        compute();
    });
    let width = 0;
    new ResizeObserver(() => {
        const now = $('plot-box').clientWidth;
        if (now !== width && reply) drawPlot();
        width = now;
    }).observe($('plot-box'));
}

readAddress();
buildControls();
buildRows();
wire();
startWorker();
compute();
