#!/usr/bin/python3
"""msgids.py - what a translator reads in the msgids of PO files: references and markup."""

# For each PO file given (or each under a folder), counts the msgids that hold a character
# reference other than &lt; &gt; &amp; (outside tags, and anywhere, attributes included)
# and the share of msgid characters that are markup (tags and comments). docs/ficheros-po.md
# quotes its figures.
import argparse
import os
import re
import sys

import polib

REFERENCIA = re.compile(r'&(?:#[0-9]+|#[xX][0-9a-fA-F]+|[A-Za-z][A-Za-z0-9]*);?')
PERMITIDAS = {'&lt;', '&gt;', '&amp;'}
MARCADO = re.compile(r'<!--.*?-->|</?[A-Za-z][^<>]*>', re.S)


def ficheros(rutas):
    for ruta in rutas:
        if os.path.isdir(ruta):
            for raiz, _, nombres in os.walk(ruta):
                yield from (os.path.join(raiz, n) for n in sorted(nombres)
                            if n.endswith(('.po', '.pot')))
        else:
            yield ruta


def con_referencias(texto):
    return any(r not in PERMITIDAS for r in REFERENCIA.findall(texto))


def main():
    argumentos = argparse.ArgumentParser(description=__doc__)
    argumentos.add_argument('po', nargs='+', help='PO files or folders of them')
    rutas = argumentos.parse_args().po
    msgids = fuera = dentro = caracteres = de_marcado = 0
    for ruta in ficheros(rutas):
        for entrada in polib.pofile(ruta):
            texto = entrada.msgid
            if not texto:
                continue
            msgids += 1
            marcas = MARCADO.findall(texto)
            fuera += con_referencias(MARCADO.sub('', texto))
            dentro += con_referencias(texto)
            caracteres += len(texto)
            de_marcado += sum(len(m) for m in marcas)
    if msgids == 0:
        sys.exit('no msgid found')
    print(f'msgids: {msgids}')
    print(f'with a reference outside tags: {fuera}')
    print(f'with a reference anywhere (attributes too): {dentro}')
    print(f'markup share of msgid characters: {100 * de_marcado / caracteres:.1f} %')


if __name__ == '__main__':
    main()
