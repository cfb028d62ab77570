#!/usr/bin/env python3
"""Makes the static site of the page: the module, the page's own files, the
dialog templates and texts of every edition (from the .rc files, as
resources.js), each edition's dictionary gzip-compressed with its notice,
the help pages, the icons, the web app manifest and the service worker's
list of files. resources.js also gives the page the control ids and dialog
numbers of resource.h and the message box values of engine/platform.h, so
that its scripts and tests name them as the program does."""
import argparse
import gzip
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys


def read_defines(path):
    """#define NAME value lines of a header, values as text."""
    defines = {}
    with open(path, encoding='cp1252') as f:
        for line in f:
            m = re.match(r'\s*#define\s+(\w+)\s+(.*?)\s*(//.*)?$', line)
            if m:
                defines[m.group(1)] = m.group(2)
    return defines


def c_string(literal):
    """The text of a C string literal (escapes \\n, \\", \\\\ and octal)."""
    body = literal.strip()[1:-1]
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        if c == '\\':
            n = body[i + 1]
            if n == 'n':
                out.append('\n'); i += 2
            elif n in '01234567':
                m = re.match(r'[0-7]{1,3}', body[i + 1:])
                out.append(chr(int(m.group(0), 8))); i += 1 + len(m.group(0))
            else:
                out.append(n); i += 2
        else:
            out.append(c); i += 1
    return ''.join(out)


# The ids of the OK and Cancel buttons: Windows's own, not in resource.h.
WINDOWS_IDS = {'IDOK': 1, 'IDCANCEL': 2}

# The message box types and answers that the page's boxes take and give.
BOX_NAMES = ('kBoxOk', 'kBoxYesNo', 'kBoxIconQuestion', 'kBoxIconExclamation',
             'kAnswerOk', 'kAnswerYes', 'kAnswerNo')


def resource_ids(defines):
    """The numbers of resource.h's IDD_, IDC_ and IDI_ names, with IDOK and
    IDCANCEL."""
    ids = dict(WINDOWS_IDS)
    for name, value in defines.items():
        if re.match(r'^ID[DCI]_', name):
            if not re.match(r'^\(?-?\d+\)?$', value):
                sys.exit('make-site: cannot read the value of %s: %s' % (name, value))
            ids[name] = int(value.strip('()'))
    return ids


def box_values(path):
    """The message box values of platform.h's enums, by their C++ names."""
    with open(path, encoding='utf-8') as f:
        found = {m.group(1): int(m.group(2), 0)
                 for m in re.finditer(r'\b(k(?:Box|Answer)\w+)\s*=\s*(0x[0-9A-Fa-f]+|\d+)', f.read())}
    missing = [name for name in BOX_NAMES if name not in found]
    if missing:
        sys.exit('make-site: %s does not define %s' % (path, ', '.join(missing)))
    return {name: found[name] for name in BOX_NAMES}


def check_names(folders, ids, box):
    """Every ids.NAME and boxValues.NAME that the page's scripts and tests use is
    defined, so that a renamed id fails here and not as a control not found."""
    for folder in folders:
        for name in sorted(os.listdir(folder)):
            if not name.endswith(('.js', '.mjs')):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding='utf-8') as f:
                for m in re.finditer(r'\b(ids|boxValues)\.(\w+)', f.read()):
                    if m.group(2) not in (ids if m.group(1) == 'ids' else box):
                        sys.exit('make-site: %s uses %s, which is not defined' % (path, m.group(0)))


def resource_id(expression, ids):
    expression = expression.strip()
    m = re.match(r'^(\w+)(?:\s*\+\s*(\d+))?$', expression)
    if not m:
        sys.exit('make-site: cannot read the control id ' + expression)
    name, offset = m.group(1), int(m.group(2) or 0)
    if re.match(r'^-?\d+$', name):
        return int(name) + offset
    if name not in ids:
        sys.exit('make-site: unknown control id ' + name)
    return ids[name] + offset


def split_fields(text):
    """Comma-separated fields, keeping commas inside quotes."""
    fields, current, quoted = [], '', False
    for c in text:
        if c == '"':
            quoted = not quoted
        if c == ',' and not quoted:
            fields.append(current.strip()); current = ''
        else:
            current += c
    fields.append(current.strip())
    return fields


def read_templates(rc_path, ids):
    """The dialog templates of common.rc, with texts as TXT_ names."""
    templates = {}
    current = None
    with open(rc_path, encoding='cp1252') as f:
        for line in f:
            m = re.match(r'^(\w+)\s+DIALOG\s+(.*)$', line)
            if m:
                x, y, w, h = [int(v) for v in split_fields(m.group(2))]
                current = {'number': resource_id(m.group(1), ids), 'size': [w, h],
                           'style': '', 'caption': '', 'font': 0, 'controls': []}
                templates[current['number']] = current
                continue
            if current is None:
                continue
            if line.startswith('STYLE'):
                current['style'] = line[5:].strip()
            elif line.startswith('CAPTION'):
                current['caption'] = c_string(line[7:].strip())
            elif line.startswith('FONT'):
                current['font'] = int(split_fields(line[4:])[0])
            elif line.strip().startswith('CONTROL'):
                fields = split_fields(line.strip()[7:])
                text, id_expr, cls, style = fields[0], fields[1], fields[2], fields[3]
                rect = [int(v) for v in fields[4:8]]
                # name: the id's symbol, or for IDC_STATIC the text's or
                # icon's, by which the page's layouts place a control.
                symbol = re.match(r'\w+', id_expr.strip()).group(0)
                control = {'id': resource_id(id_expr, ids), 'class': c_string(cls),
                           'style': [s.strip() for s in style.split('|')], 'rect': rect,
                           'name': text if symbol == 'IDC_STATIC' and not text.startswith('"') else symbol}
                if text.startswith('"'):
                    control['text'] = c_string(text)
                elif text.startswith('TXT_'):
                    control['textName'] = text
                else:
                    control['icon'] = text
                current['controls'].append(control)
            elif line.startswith('END'):
                current = None
    return templates


def edition_texts(folder):
    """The TXT_ texts of an edition's dialog_texts.h."""
    texts = {}
    for name, value in read_defines(os.path.join(folder, 'dialog_texts.h')).items():
        if name.startswith('TXT_'):
            texts[name] = c_string(value)
    return texts


# The page's security policy. The page carries it in a meta tag; a meta tag
# cannot carry frame-ancestors, which the headers that a host sends add.
POLICY = ("default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; "
          "img-src 'self'; connect-src 'self'; worker-src 'self'; manifest-src 'self'; "
          "object-src 'none'; base-uri 'none'; form-action 'none'")
HEADER_POLICY = POLICY + "; frame-ancestors 'none'"
HEADERS = (('Content-Security-Policy', HEADER_POLICY), ('X-Content-Type-Options', 'nosniff'))


def write_host_headers(out):
    """The headers for a static host, in the forms the common hosts read:
    _headers (Netlify, Cloudflare Pages), .htaccess (Apache) and
    nginx.conf.example (a location block to copy). serve.py sends them too."""
    with open(os.path.join(out, '_headers'), 'w', encoding='utf-8') as f:
        f.write('/*\n' + ''.join('  %s: %s\n' % header for header in HEADERS))
    with open(os.path.join(out, '.htaccess'), 'w', encoding='utf-8') as f:
        f.write('<IfModule mod_headers.c>\n' +
                ''.join('  Header always set %s "%s"\n' % header for header in HEADERS) +
                '</IfModule>\nAddType application/wasm .wasm\n')
    with open(os.path.join(out, 'nginx.conf.example'), 'w', encoding='utf-8') as f:
        f.write('# Inside the server block that serves this folder.\nlocation / {\n' +
                ''.join('    add_header %s "%s" always;\n' % header for header in HEADERS) +
                '}\n')


def edition_strings(folder):
    """The string table of an edition's strings.inc, by IDS_ name."""
    strings = {}
    with open(os.path.join(folder, 'strings.inc'), encoding='cp1252') as f:
        for m in re.finditer(r'VREL_STRING\(\s*\d+\s*,\s*(IDS_\w+)\s*,\s*("(?:[^"\\]|\\.)*")\s*\)', f.read()):
            strings[m.group(1)] = c_string(m.group(2))
    return strings


def page_texts(folder, names=None):
    """The page's own texts of an edition (page.txt, NAME=text), which must
    name the same texts as the default edition's."""
    texts = {}
    path = os.path.join(folder, 'page.txt')
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if line and not line.startswith('#'):
                name, _, text = line.partition('=')
                texts[name] = text
    if names is not None and sorted(texts) != sorted(names):
        sys.exit('make-site: %s does not name the texts %s' % (path, ', '.join(sorted(names))))
    return texts


def copy(source, target):
    os.makedirs(os.path.dirname(target), exist_ok=True)
    shutil.copyfile(source, target)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--root', required=True)
    parser.add_argument('--out', required=True)
    parser.add_argument('--module', required=True)
    parser.add_argument('--help-dir', dest='help_dir', required=True)
    parser.add_argument('--version', required=True)
    parser.add_argument('--editions', nargs='+', required=True, help='CODE=OWN NAME (the name in its language), the default edition first')
    args = parser.parse_args()
    root, out = args.root, args.out
    resources = os.path.join(root, 'resources')

    if os.path.isdir(out):
        shutil.rmtree(out)
    os.makedirs(out)
    for name in os.listdir(os.path.join(root, 'web', 'site')):
        copy(os.path.join(root, 'web', 'site', name), os.path.join(out, name))
    for name in ('vrel.js', 'vrel.wasm'):
        copy(os.path.join(args.module, name), os.path.join(out, name))

    ids = resource_ids(read_defines(os.path.join(resources, 'resource.h')))
    box = box_values(os.path.join(root, 'engine', 'platform.h'))
    check_names([os.path.join(root, 'web', 'site'), os.path.join(root, 'web', 'tests')], ids, box)
    templates = read_templates(os.path.join(resources, 'common.rc'), ids)
    editions = {}
    for edition in args.editions:
        code, own = edition.split('=', 1)
        folder = os.path.join(resources, 'editions', code)
        texts = edition_texts(folder)
        # Its page.txt names the same texts as the default edition's.
        default = next(iter(editions.values()), None)
        page = page_texts(folder, default['page'] if default else None)
        editions[code] = {'own': own, 'texts': texts, 'strings': edition_strings(folder),
                          'page': page}
        data = os.path.join(root, 'data', code)
        target = os.path.join(out, 'data', code)
        os.makedirs(target, exist_ok=True)
        with open(os.path.join(data, 'VREL.DAT'), 'rb') as f:
            words = f.read()
        with open(os.path.join(target, 'VREL.DAT.gz'), 'wb') as f:
            f.write(gzip.compress(words, 9, mtime=0))
        for name in os.listdir(data):
            if name.endswith('-copyright.txt') or name.startswith('GPL-'):
                copy(os.path.join(data, name), os.path.join(target, name))
        copy(os.path.join(args.help_dir, code + '.html'), os.path.join(out, 'help', code + '.html'))
    copy(os.path.join(root, 'web', 'help.css'), os.path.join(out, 'help', 'help.css'))

    with open(os.path.join(out, 'resources.js'), 'w', encoding='utf-8') as f:
        f.write('// Made by make-site.py from the .rc files and headers: the control ids\n'
                '// and dialog numbers, the message box values, the dialog templates and\n'
                '// every edition\'s dialog texts and the page\'s own texts.\n')
        f.write('export const version = %s;\n' % json.dumps(args.version))
        f.write('export const ids = %s;\n' % json.dumps(ids))
        f.write('export const boxValues = %s;\n' % json.dumps(box))
        f.write('export const templates = %s;\n' % json.dumps(templates, ensure_ascii=False))
        f.write('export const editions = %s;\n' % json.dumps(editions, ensure_ascii=False))

    icons = os.path.join(out, 'icons')
    os.makedirs(icons)
    for ico, name, size in (('vrel.ico', 'vrel-192.png', 192), ('vrel.ico', 'vrel-512.png', 512),
                            ('vrel.ico', 'vrel-32.png', 32), ('about.ico', 'about-32.png', 32)):
        subprocess.run(['convert', os.path.join(resources, 'icons', ico) + '[0]', '-filter',
                        'point', '-resize', '%dx%d' % (size, size),
                        os.path.join(icons, name)], check=True)

    index = os.path.join(out, 'index.html')
    with open(index, encoding='utf-8') as f:
        page = f.read()
    if '__POLICY__' not in page:
        sys.exit('make-site: index.html has no __POLICY__ to fill in')
    with open(index, 'w', encoding='utf-8') as f:
        f.write(page.replace('__POLICY__', POLICY))
    write_host_headers(out)

    # The service worker keeps every file of the site; its cache is named
    # after their contents, so that a new build replaces the old cache.
    files = []
    digest = hashlib.sha256()
    for folder, _, names in sorted(os.walk(out)):
        for name in sorted(names):
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, out).replace(os.sep, '/')
            if relative in ('sw.js', '_headers', '.htaccess', 'nginx.conf.example'):
                continue
            files.append(relative)
            with open(path, 'rb') as f:
                digest.update(relative.encode() + b'\0' + f.read())
    with open(os.path.join(out, 'sw.js'), encoding='utf-8') as f:
        worker = f.read()
    # The cache's name and the pattern by which the worker knows its own.
    prefix, digits = 'vrel-', 16
    worker = worker.replace('__CACHE_NAME__', prefix + digest.hexdigest()[:digits])
    worker = worker.replace('__OWN_CACHES__', '^%s[0-9a-f]{%d}$' % (prefix, digits))
    worker = worker.replace('__FILES__', json.dumps(['./'] + files))
    with open(os.path.join(out, 'sw.js'), 'w', encoding='utf-8') as f:
        f.write(worker)


main()
