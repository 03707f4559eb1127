#!/usr/bin/env python3
"""Puts the page together in one static folder: the page's own files, the
worker's script as a string the page turns into a Blob, and the engine's
WebAssembly as text the page sends it (a page opened from file:// may not
load a worker or a .wasm by address), and the German texts, taken from the window's
translations so that both say the same."""
import base64
import json
import pathlib
import shutil
import sys
import xml.etree.ElementTree as ElementTree

# The window's contexts whose texts the page shows.
ERRORS = 'window::ParseErrors'
CONTEXTS = {'window::CompareWindow', 'window::ComparePlot', 'window::Views', ERRORS}


def german_texts(ts_file, own_file):
    """The page's texts by their English, and the notation errors' patterns
    apart, which the page matches against the engine's English messages."""
    texts = {}
    errors = {}
    for context in ElementTree.parse(ts_file).getroot().iter('context'):
        name = context.findtext('name')
        if name not in CONTEXTS:
            continue
        for message in context.iter('message'):
            translation = message.find('translation')
            if translation is None or translation.get('type') in ('unfinished', 'obsolete') or not translation.text:
                continue
            # The page has no mnemonics: '&' marks one, '&&' a real ampersand.
            # Nor has it dialogs, so "Save Chart..." is found as "Save Chart"
            # too, while "Working..." keeps its dots.
            plain = lambda text: text.replace('&&', '\0').replace('&', '').replace('\0', '&')
            source = plain(message.findtext('source'))
            texts.setdefault(source, plain(translation.text))
            texts.setdefault(source.removesuffix('...'), plain(translation.text).removesuffix('...'))
            if name == ERRORS:
                errors.setdefault(message.findtext('source'), translation.text)
    texts.update(json.loads(pathlib.Path(own_file).read_text(encoding='utf-8')))
    return texts, sorted(errors.items())


def main(engine_js, web_dir, site):
    web = pathlib.Path(web_dir)
    out = pathlib.Path(site)
    out.mkdir(parents=True, exist_ok=True)
    for name in ('index.html', 'page.js', 'style.css'):
        shutil.copyfile(web / 'src' / name, out / name)
    engine = pathlib.Path(engine_js)
    wasm = base64.b64encode(engine.with_suffix('.wasm').read_bytes()).decode('ascii')
    worker = engine.read_text(encoding='utf-8') + '\n' + (web / 'src' / 'worker.js').read_text(encoding='utf-8')
    (out / 'worker-source.js').write_text('self.PIPWRIGHT_WORKER = ' + json.dumps(worker) + ';\n'
                                          + 'self.PIPWRIGHT_WASM = ' + json.dumps(wasm) + ';\n', encoding='utf-8')
    texts, errors = german_texts(web.parent / 'window' / 'translations' / 'pipwright_de.ts', web / 'strings_de.json')
    (out / 'strings-de.js').write_text('self.PIPWRIGHT_DE = ' + json.dumps(texts, ensure_ascii=False, indent=0) + ';\n'
                                       + 'self.PIPWRIGHT_DE_ERRORS = ' + json.dumps(errors, ensure_ascii=False, indent=0) + ';\n',
                                       encoding='utf-8')


if __name__ == '__main__':
    main(*sys.argv[1:])
