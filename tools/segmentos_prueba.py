#!/usr/bin/python3
"""segmentos_prueba.py - checks how tools/segmentos.py reads pages and sorts PO entries."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
try:
    import segmentos
except ImportError as falta:  # html5lib or polib not installed: nothing to check here
    print(f'skipped: {falta}')
    sys.exit(77)


def po(*entradas):
    """A PO file of (msgid, msgctxt) pairs, escaped as PO files write them."""
    escapa = lambda t: t.replace('\\', '\\\\').replace('"', '\\"').replace('\n', '\\n')
    texto = 'msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n'
    for msgid, contexto in entradas:
        if contexto:
            texto += f'\nmsgctxt "{escapa(contexto)}"'
        texto += f'\nmsgid "{escapa(msgid)}"\nmsgstr ""\n'
    return texto.encode('utf-8')


# One page and one PO file per case: the row the tool gets, field by field. The reference
# tool (html2po) holds the words "uno dos dos tres" in every case.
CASOS = [
    dict(nombre='a sentence cut at its inline elements gives fragments with blanks at the ends',
         pagina=b'<p>Pulse la tecla <code>Alt</code> y <a href="x">F1</a>.</p>',
         entradas=[('Pulse la tecla ', None), ('Alt', None), (' y ', None),
                   ('Pulse la tecla <code>Alt</code> y <a href="x">F1</a>.', None)],
         espera=dict(entries=4, fragments=3, whole=1, blank_edged=2, no_letter=0)),
    dict(nombre='the text before a nested list is whole, though a strict part of its item',
         pagina=b'<ul><li>Intro<ul><li>Uno</li></ul></li></ul>',
         entradas=[('Intro', None), ('Uno', None)],
         espera=dict(whole=2, fragments=0, fragments_of_blocks=1)),
    dict(nombre="a PRE's content is one run: whole with its blanks, a line of it a fragment",
         pagina=b'<dl><dd><p>Texto</p><pre>a = 1\nb = 2\n</pre></dd></dl>',
         entradas=[('a = 1\nb = 2\n', None), ('b = 2', None), ('=', None)],
         espera=dict(whole=1, fragments=2, blank_edged=1, no_letter=1)),
    dict(nombre='a no-break space is not a space; references and tags of entries are read',
         pagina=b'<p>&lt;Directory&gt; a&nbsp;b</p>',
         entradas=[('&lt;Directory&gt; a&nbsp;b', None), ('<Directory> a\u00a0b', None),
                   ('<Directory> a b', None), ('<b>a</b>', None)],
         espera=dict(whole=2, other=1, fragments=1)),
    dict(nombre="an attribute's text, as the tool marks it, is no fragment",
         pagina=b'<p><img alt="uno" src="u.png">uno dos</p>',
         entradas=[('uno', 'p.html+html.body.p.img[alt]:1-4'), ('uno', 'ALTERNATIVO_IMAGEN_1'),
                   ('uno dos', None), ('<img src="u.png"/>', None)],
         espera=dict(attribute=2, whole=1, empty=1, no_letter=1)),
    dict(nombre="a DIV's text outside its blocks is a run; a whole block only when all phrasing",
         pagina=b'<div>Aviso <p>Uno</p></div><div>Dos <b>tres</b></div>',
         entradas=[('Aviso', None), ('Dos', None), ('Dos tres', None)],
         espera=dict(whole=2, fragments=1, fragments_of_blocks=1)),
    dict(nombre='an entry across two blocks, or of text in no block, is in none',
         pagina=b'<section>suelto<table><tr><td>uno</td><td>dos</td></tr></table></section>',
         entradas=[('uno dos', None), ('unodos', None), ('suelto', None), ('uno', None)],
         espera=dict(other=3, whole=1)),
    dict(nombre="a page without a declared charset is UTF-8; a declared one is obeyed",
         pagina='<p>Canci\u00f3n</p>'.encode('utf-8') + '<p>ca\u00f1\u00f3n</p>'.encode('utf-8'),
         entradas=[('Canci\u00f3n', None), ('ca\u00f1\u00f3n', None)], espera=dict(whole=2)),
    dict(nombre='a page declared windows-1252 is read in it',
         pagina=b'<meta charset="iso-8859-1"><p>Canci\xf3n</p>',
         entradas=[('Canci\u00f3n', None)], espera=dict(whole=1)),
    dict(nombre="the reference's words missing count each occurrence",
         pagina=b'<p>uno dos dos tres</p>', entradas=[('uno dos', None)],
         espera=dict(words=2, ref_words=4, missing_words=2, fragments=1)),
]


class Clasificacion(unittest.TestCase):
    def test_casos(self):
        for caso in CASOS:
            with self.subTest(caso['nombre']), tempfile.TemporaryDirectory() as raiz:
                ficheros = {'paginas/sitio/p.html': caso['pagina'],
                            'herramienta/sitio/p.po': po(*caso['entradas']),
                            'html2po/sitio/p.po': po(('uno dos dos tres', None))}
                for ruta, datos in ficheros.items():
                    os.makedirs(os.path.dirname(os.path.join(raiz, ruta)), exist_ok=True)
                    with open(os.path.join(raiz, ruta), 'wb') as f:
                        f.write(datos)
                herramientas = [('herramienta', os.path.join(raiz, 'herramienta')),
                                ('html2po', os.path.join(raiz, 'html2po'))]
                fila = segmentos.mide_pagina((os.path.join(raiz, 'paginas'), 'sitio', 'p.html',
                                              herramientas, 'html2po'))[0]
                self.assertEqual(fila['po'], 'ok')
                for campo, valor in caso['espera'].items():
                    self.assertEqual(fila[campo], valor, campo)
                # Every entry falls in exactly one place.
                self.assertEqual(sum(fila[c] for c in ('whole', 'fragments', 'attribute', 'other',
                                                       'empty')), fila['entries'])

    def test_tablas(self):
        fila = lambda pagina, herramienta, **cuentas: {
            **{c: '0' for c in segmentos.CAMPOS}, 'site': 's', 'page': pagina, 'tool': herramienta,
            'po': 'ok', **{c: str(v) for c, v in cuentas.items()}}
        filas = [fila('a', 'h', entries=100, fragments=3, whole=97, blank_edged=1, no_letter=5,
                      ref_no_letter=4, missing_words=2, ref_words=50),
                 fila('b', 'h', entries=300, fragments=3, whole=297, no_letter=1, ref_no_letter=4,
                      ref_words=150),
                 {**fila('c', 'h'), 'po': 'missing'}]
        lineas = segmentos.resume(filas, ['h'], 'html2po').split('\n')
        self.assertIn('| s | h | 2 | 400 | 6 (1.5 %) | 1 (0.2 %) | 6 (1.5 %) | 2 (1.0 %) |', lineas)
        self.assertIn('| total | h | 3 | 1 | 1 | 1 | 1 | 1 |', lineas)

    def test_po_que_falta(self):
        with tempfile.TemporaryDirectory() as raiz:
            os.makedirs(os.path.join(raiz, 'paginas', 'sitio'))
            with open(os.path.join(raiz, 'paginas', 'sitio', 'p.html'), 'wb') as f:
                f.write(b'<p>uno</p>')
            filas = segmentos.mide_pagina((os.path.join(raiz, 'paginas'), 'sitio', 'p.html',
                                           [('html2po', os.path.join(raiz, 'nada'))], 'html2po'))
            self.assertEqual([f['po'] for f in filas], ['missing'])


if __name__ == '__main__':
    unittest.main()
