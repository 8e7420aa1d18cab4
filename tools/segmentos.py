#!/usr/bin/python3
"""segmentos.py - measures how PO entries cut the texts of HTML pages, per tool and page."""

# Pages are read as a browser reads them (html5lib: byte order mark, declared charset,
# else UTF-8) and each entry of each tool's PO file is compared with the texts of the
# page's blocks. docs/segmentos.md defines every measure.
import argparse
import collections
import csv
import html
import multiprocessing
import os
import re
import sys

import html5lib
import polib

# Elements whose whole text one entry should hold.
BLOQUES = {'p', 'li', 'h1', 'h2', 'h3', 'h4', 'h5', 'h6', 'td', 'th', 'caption', 'title',
           'label', 'button', 'option', 'dt', 'dd', 'legend', 'summary'}
# These are blocks only when every element inside them is phrasing content.
BLOQUES_SI_SIMPLES = {'div', 'blockquote'}
# Elements whose runs of text are texts to hold whole: the blocks, a PRE's content, and
# what a DIV or BLOCKQUOTE holds outside the blocks inside it.
CONTENEDORES = BLOQUES | BLOQUES_SI_SIMPLES | {'pre'}
# Phrasing elements: the ones a DIV or BLOCKQUOTE may hold and still be a block.
FRASE = {'a', 'abbr', 'acronym', 'b', 'bdi', 'bdo', 'big', 'br', 'cite', 'code', 'data', 'del',
         'dfn', 'em', 'font', 'i', 'img', 'ins', 'kbd', 'mark', 'nobr', 'q', 's', 'samp', 'small',
         'span', 'strike', 'strong', 'sub', 'sup', 'time', 'tt', 'u', 'var', 'wbr',
         'script', 'style', 'template', 'noscript'}
# Elements whose content no reader sees as text.
SIN_TEXTO = {'script', 'style', 'template', '<!DOCTYPE>'}
# Every HTML element name (current and obsolete): a tag in an entry is one of these, so
# that a decoded "<Directory>" in an entry stays text.
ELEMENTOS = FRASE | BLOQUES | BLOQUES_SI_SIMPLES | {
    'address', 'applet', 'area', 'article', 'aside', 'audio', 'base', 'basefont', 'blink',
    'body', 'canvas', 'center', 'col', 'colgroup', 'datalist', 'details', 'dialog', 'dir',
    'dl', 'embed', 'fieldset', 'figcaption', 'figure', 'footer', 'form', 'frame', 'frameset',
    'head', 'header', 'hgroup', 'hr', 'html', 'iframe', 'input', 'isindex', 'keygen', 'link',
    'listing', 'main', 'map', 'marquee', 'math', 'menu', 'meta', 'meter', 'nav', 'noembed',
    'noframes', 'object', 'ol', 'optgroup', 'output', 'param', 'picture', 'plaintext', 'pre',
    'progress', 'rb', 'rp', 'rt', 'rtc', 'ruby', 'search', 'section', 'select', 'slot',
    'source', 'spacer', 'svg', 'table', 'tbody', 'textarea', 'tfoot', 'thead', 'tr', 'track',
    'ul', 'video', 'xmp'}
# How each tool marks an entry taken from an attribute: html2po's reference (and context, when
# it gives one) ends with the attribute's name in brackets and the place; po4a's comment says
# "Attribute"; lenguaweb names the META and ALT texts in the context, and an attribute before
# its tag in the comment.
ATRIBUTO_LUGAR = re.compile(
    r'\[[^\]]+\]:\d+-\d+$|^(DESCRIPCION|PALABRA_CLAVE|ALTERNATIVO_IMAGEN_\d+)$')
ATRIBUTO_COMENTARIO = re.compile(r'^(type: Attribute |[\w:-]+ of <)')
# A tag in an entry: its name, then anything up to the '>' that is not inside quotes.
TAG = re.compile(r'</?([A-Za-z][A-Za-z0-9]*)(?:[\s/](?:[^>"\']|"[^"]*"|\'[^\']*\')*)?>')
# HTML's blanks; a no-break space is not one of them.
BLANCOS = re.compile(r'[ \t\n\f\r]+')
BLANCO = ' \t\n\f\r'
PALABRA = re.compile(r'[^\W_]+')
# Where html2po says an attribute entry comes from: the element, the attribute, line and
# column of the tag.
LUGAR_ATRIBUTO = re.compile(r'(\w+)\[([\w:-]+)\]:(\d+)-(\d+)$')
INPUT = re.compile(r'<input\b[^>]*>', re.I)
OCULTO = re.compile(r'''\btype\s*=\s*["']?hidden\b''', re.I)


def colapsa(texto):
    """Runs of blanks become one space; blanks at either end go."""
    return BLANCOS.sub(' ', texto).strip(BLANCO)


def texto_de_entrada(msgid):
    """An entry as text: tags of HTML elements dropped, references decoded, blanks collapsed."""
    sin_tags = TAG.sub(lambda m: '' if m.group(1).lower() in ELEMENTOS else m.group(0), msgid)
    return colapsa(html.unescape(sin_tags))


class Pagina:
    """What a page offers to compare entries with, all collapsed:
    - tramos: the runs of text that stand in a block, cut where any element that is not
      phrasing content opens or closes, so that no run spans two blocks;
    - bloques: the whole text of each block (a DIV or BLOCKQUOTE only when it holds phrasing
      content alone), nested blocks included.
    Any bytes make a page: the parser never fails, it repairs as a browser does."""

    def __init__(self, datos):
        lector = html5lib.HTMLParser(namespaceHTMLElements=False)
        raiz = lector.parse(datos, default_encoding='utf-8', useChardet=False)
        self.lineas = datos.decode(lector.documentEncoding or 'utf-8', 'replace').split('\n')
        # Every text node goes once into one string; runs and blocks are slices of it.
        self.trozos, self.longitud = [], 0
        self.inicio_tramo, self.contenedor = 0, ''
        self.limites_tramos, self.limites_bloques = [], []
        sys.setrecursionlimit(max(sys.getrecursionlimit(), 20000))
        self.recorre(raiz)
        todo = ''.join(self.trozos)
        self.tramos = [t for t in (colapsa(todo[a:b]) for a, b in self.limites_tramos) if t]
        self.bloques = [colapsa(todo[a:b]) for a, b in self.limites_bloques]
        del self.trozos

    def anade(self, texto):
        if texto:
            self.trozos.append(texto)
            self.longitud += len(texto)

    def corta(self):
        """Ends the run being read; it counts when it stands in a block."""
        if self.longitud > self.inicio_tramo and self.contenedor in CONTENEDORES:
            self.limites_tramos.append((self.inicio_tramo, self.longitud))
        self.inicio_tramo = self.longitud

    def recorre(self, elemento):
        """Reads the element; True when it and all it holds are phrasing content."""
        inicio = self.longitud
        frase = elemento.tag in FRASE
        if not frase:
            self.corta()
            contenedor, self.contenedor = self.contenedor, elemento.tag
        solo_frase = True
        if elemento.tag not in SIN_TEXTO:
            self.anade(elemento.text)
        for hijo in elemento:
            if isinstance(hijo.tag, str):  # comments have a function for a tag, and no text
                solo_frase = self.recorre(hijo) and solo_frase
            self.anade(hijo.tail)
        if elemento.tag in BLOQUES or (elemento.tag in BLOQUES_SI_SIMPLES and solo_frase):
            self.limites_bloques.append((inicio, self.longitud))
        if not frase:
            self.corta()
            self.contenedor = contenedor
        return solo_frase and frase


def de_atributo(entrada):
    """Whether the tool says that the entry comes from an attribute."""
    lugares = [entrada.msgctxt or ''] + [f'{f}:{l}' if l else f for f, l in entrada.occurrences]
    return (any(ATRIBUTO_LUGAR.search(l) for l in lugares)
            or bool(ATRIBUTO_COMENTARIO.match(entrada.comment or '')))


def lee_po(ruta):
    """(msgid, occurrences, whether it comes from an attribute, the places of its
    occurrences) of every live entry; None when the file is missing or unreadable."""
    try:
        po = polib.pofile(ruta, wrapwidth=0)
    except (OSError, ValueError, UnicodeDecodeError):
        return None
    return [(e.msgid, max(1, len(e.occurrences)), de_atributo(e),
             [f'{f}:{l}' if l else f for f, l in e.occurrences])
            for e in po if not e.obsolete and e.msgid]


def invisible(lugar, lineas):
    """Whether the attribute that html2po names at lugar is one no reader sees: a page's
    language, or the value of a hidden INPUT (the INPUT tag nearest the column given)."""
    m = LUGAR_ATRIBUTO.search(lugar)
    if not m:
        return False
    elemento, atributo = m.group(1).lower(), m.group(2).lower()
    linea, columna = int(m.group(3)), int(m.group(4))
    if atributo in ('lang', 'xml:lang'):
        return True
    if elemento != 'input' or atributo != 'value' or not 0 < linea <= len(lineas):
        return False
    tags = list(INPUT.finditer(lineas[linea - 1]))
    if not tags:
        return False
    tag = min(tags, key=lambda t: abs(t.start() - (columna - 1)))
    return bool(OCULTO.search(tag.group(0)))


def palabras(entradas):
    """Every word of the entries, each counted as often as its entry occurs in the page."""
    cuenta = collections.Counter()
    for _, texto, veces, _ in entradas:
        for p in PALABRA.findall(texto):
            cuenta[p] += veces
    return cuenta


CAMPOS = ['site', 'page', 'tool', 'po', 'entries', 'fragments', 'whole', 'attribute', 'other',
          'empty', 'fragments_of_blocks', 'blank_edged', 'no_letter', 'ref_no_letter', 'words',
          'ref_words', 'missing_words', 'runs', 'blocks']


def mide_pagina(trabajo):
    """One row per tool for one page; a tool without a readable PO file for it gets a row
    marked missing. A page that cannot be read raises, and the run stops."""
    raiz, sitio, relativa, herramientas, referencia = trabajo
    with open(os.path.join(raiz, sitio, relativa), 'rb') as f:
        pagina = Pagina(f.read())
    tramos, bloques = set(pagina.tramos), set(pagina.bloques)
    # One string each, so that an entry is looked for once.
    tramos_unidos, bloques_unidos = '\0'.join(pagina.tramos), '\0'.join(pagina.bloques)
    po_relativo = os.path.splitext(relativa)[0] + '.po'
    textos = {}
    visibles = None  # the reference's entries, each as often as a reader sees it
    for nombre, carpeta in herramientas:
        entradas = lee_po(os.path.join(carpeta, sitio, po_relativo))
        if entradas is not None:
            textos[nombre] = [(m, texto_de_entrada(m), v, a) for m, v, a, _ in entradas]
            if nombre == referencia:
                visibles = [(m, t, v - sum(invisible(l, pagina.lineas) for l in lugares), a)
                            for (m, t, v, a), (_, _, _, lugares)
                            in zip(textos[nombre], entradas)]
    sin_letra = lambda t: not any(c.isalnum() for c in t)
    ref = textos.get(referencia)
    if ref is not None:
        ref_palabras = palabras(visibles)
        ref_sin_letra = sum(1 for _, t, _, _ in ref if sin_letra(t))
    filas = []
    for nombre, _ in herramientas:
        fila = dict.fromkeys(CAMPOS, 0)
        fila.update(site=sitio, page=relativa, tool=nombre, runs=len(tramos), blocks=len(bloques))
        if nombre not in textos:
            fila['po'] = 'missing'
            filas.append(fila)
            continue
        fila.update(po='ok', entries=len(textos[nombre]))
        for msgid, texto, _, atributo in textos[nombre]:
            if msgid[0] in BLANCO or msgid[-1] in BLANCO:
                fila['blank_edged'] += 1
            if sin_letra(texto):
                fila['no_letter'] += 1
            if not texto:
                fila['empty'] += 1
                continue
            if atributo:
                fila['attribute'] += 1
            elif texto in tramos:
                fila['whole'] += 1
            elif texto in tramos_unidos:
                fila['fragments'] += 1
            else:
                fila['other'] += 1
            if texto not in bloques and texto in bloques_unidos:
                fila['fragments_of_blocks'] += 1
        propias = palabras(textos[nombre])
        fila['words'] = sum(propias.values())
        if ref is None:
            fila.update(ref_no_letter='', ref_words='', missing_words='')
        else:
            fila.update(ref_no_letter=ref_sin_letra, ref_words=sum(ref_palabras.values()),
                        missing_words=sum((ref_palabras - propias).values()))
        filas.append(fila)
    return filas


def paginas(raiz):
    """(site, path inside the site) of every page, sorted; a site is a folder under root."""
    for sitio in sorted(os.listdir(raiz)):
        base = os.path.join(raiz, sitio)
        encontradas = []
        for carpeta, _, ficheros in os.walk(base):
            for f in ficheros:
                if f.endswith(('.html', '.htm')):
                    encontradas.append(os.path.relpath(os.path.join(carpeta, f), base))
        for relativa in sorted(encontradas):
            yield sitio, relativa


def numero(valor):
    return int(valor) if valor != '' else 0


def con_porcentaje(parte, todo):
    return f'{parte:,} ({100 * parte / todo:.1f} %)' if todo else f'{parte:,}'


def resume(filas, herramientas, referencia):
    """Three Markdown tables, per site and tool and for all sites: the measures, where the
    entries fall, and how many pages miss each limit."""
    grupos = {}
    for f in filas:
        for sitio in (f['site'], 'total'):
            grupos.setdefault((sitio, f['tool']), []).append(f)
    claves = [(s, h) for s in sorted({f['site'] for f in filas}) + ['total'] for h in herramientas
              if (s, h) in grupos]
    suma = lambda g, campo: sum(numero(f[campo]) for f in g)
    leidas = lambda g: [f for f in g if f['po'] == 'ok']
    medidas = [f'| site | tool | pages | entries | fragments | blank at an end '
               f'| no letter or digit | words of {referencia} missing |', '|---' * 8 + '|']
    reparto = ['| site | tool | whole runs | fragments | attributes | other | empty '
               '| strict parts of whole blocks |', '|---' * 8 + '|']
    limites = [f'| site | tool | pages | more than 2 % fragments | an entry with a blank at an end '
               f'| more entries without a letter or digit than {referencia} '
               f'| a word of {referencia} missing | no PO file |', '|---' * 8 + '|']
    for sitio, nombre in claves:
        g = leidas(grupos[sitio, nombre])
        n = suma(g, 'entries')
        parte = lambda campo: con_porcentaje(suma(g, campo), n)
        faltan = ('–' if nombre == referencia
                  else con_porcentaje(suma(g, 'missing_words'), suma(g, 'ref_words')))
        medidas.append(f"| {sitio} | {nombre} | {len(g):,} | {n:,} | {parte('fragments')} "
                       f"| {parte('blank_edged')} | {parte('no_letter')} | {faltan} |")
        reparto.append(f"| {sitio} | {nombre} | {parte('whole')} | {parte('fragments')} "
                       f"| {parte('attribute')} | {parte('other')} | {parte('empty')} "
                       f"| {parte('fragments_of_blocks')} |")
        cuenta = lambda prueba: sum(1 for f in g if prueba(f))
        mas_sin_letra = lambda f: (f['ref_no_letter'] != ''
                                   and int(f['no_letter']) > int(f['ref_no_letter']))
        limites.append(
            f"| {sitio} | {nombre} | {len(grupos[sitio, nombre]):,} "
            f"| {cuenta(lambda f: 50 * int(f['fragments']) > int(f['entries'])):,} "
            f"| {cuenta(lambda f: int(f['blank_edged']) > 0):,} "
            f"| {cuenta(mas_sin_letra):,} "
            f"| {cuenta(lambda f: numero(f['missing_words']) > 0):,} "
            f"| {len(grupos[sitio, nombre]) - len(g):,} |")
    return '\n'.join(medidas + [''] + reparto + [''] + limites)


def principal():
    a = argparse.ArgumentParser(description=__doc__)
    a.add_argument('--paginas', help='folder with one folder of pages per site')
    a.add_argument('--po', action='append', default=[], metavar='TOOL=FOLDER',
                   help="a tool's PO files, laid out as the pages with .po for .html")
    a.add_argument('--referencia', default='html2po',
                   help='tool whose words every tool should hold')
    a.add_argument('--tsv', required=True,
                   help='per page and tool rows: written, or read with --resumen')
    a.add_argument('--resumen', action='store_true',
                   help='only print the tables of an existing TSV')
    a.add_argument('-j', type=int, default=os.cpu_count(), help='pages measured at once')
    args = a.parse_args()
    if args.resumen:
        with open(args.tsv, newline='', encoding='utf-8') as f:
            filas = list(csv.DictReader(f, delimiter='\t'))
        herramientas = list(dict.fromkeys(f['tool'] for f in filas))
        print(resume(filas, herramientas, args.referencia))
        return 0
    if not args.paginas or not args.po:
        a.error('--paginas and at least one --po are needed')
    herramientas = [tuple(p.split('=', 1)) for p in args.po]
    trabajos = [(args.paginas, s, r, herramientas, args.referencia)
                for s, r in paginas(args.paginas)]
    filas = []
    with multiprocessing.Pool(args.j) as grupo:
        # Largest pages first, so that no core is left with one big page at the end.
        trabajos.sort(key=lambda t: -os.path.getsize(os.path.join(t[0], t[1], t[2])))
        for resultado in grupo.imap_unordered(mide_pagina, trabajos):
            filas.extend(resultado)
    filas.sort(key=lambda f: (f['site'], f['page'], [n for n, _ in herramientas].index(f['tool'])))
    with open(args.tsv, 'w', newline='', encoding='utf-8') as f:
        escritor = csv.DictWriter(f, CAMPOS, delimiter='\t', lineterminator='\n')
        escritor.writeheader()
        escritor.writerows(filas)
    print(resume([{k: str(v) for k, v in f.items()} for f in filas],
                 [n for n, _ in herramientas], args.referencia))
    return 0


if __name__ == '__main__':
    sys.exit(principal())
