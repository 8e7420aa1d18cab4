#!/usr/bin/env python3
"""Writes htmlparser/referencias.tsv: every named character reference of HTML (as Python's
html.entities.html5 holds the WHATWG list, with and without ';' where a browser reads both)
and what a numeric reference to 0x80-0x9F stands for (windows-1252's character, where that
code page has one). Run once when the list changes; the build makes the table from the file.
"""
import html.entities
import pathlib
import sys

salida = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else
                      pathlib.Path(__file__).resolve().parent.parent / "htmlparser" / "referencias.tsv")
lineas = ["# reference<TAB>code points (hex), made by tools/referencias.py from Python's html.entities"]
for nombre in sorted(html.entities.html5):
    puntos = " ".join("%X" % ord(c) for c in html.entities.html5[nombre])
    lineas.append("&%s\t%s" % (nombre, puntos))
for byte in range(0x80, 0xA0):
    try:
        caracter = bytes([byte]).decode("cp1252")
    except UnicodeDecodeError:
        continue  # a byte windows-1252 leaves undefined names its own code point
    lineas.append("&#x%X;\t%X" % (byte, ord(caracter)))
salida.write_text("\n".join(lineas) + "\n", encoding="ascii")
