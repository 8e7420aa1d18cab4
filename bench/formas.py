#!/usr/bin/env python3
"""formas.py - time and peak memory of `lenguaweb pseudo` on pages of one shape, N doubled.

Each shape is a page whose cost once grew with the square of N:

    atributos   one tag with N attributes inside a paragraph's text
    cierres     N open SPANs, then N stray </i>, in one text
    valores     N tags with a '<' in a quoted value, in one text
    distintos   the same, each value its own
    escrituras  N tags of one form, each written its own way (its attribute's letter case)
    notas       N elements that leave a note to translators, then N end tags none closes
    crudos      a TEXTAREA of N "<<a": stray '<' and a tag name that runs to its end
    aperturas   N start tags, then N end tags of another name, in one text (run through
                `extract`, whose msgid folds a text's tags into codes)
    menores     a page of N '<' and nothing else
    alternos    a paragraph of N "x< " (a character, a stray '<', a space)

Each page runs through pseudo (the subcommand that takes the most memory), or the
subcommand its shape names, in a process of its own under GNU time; each figure is the
least of the rounds.

    bench/formas.py [--programa build/release/host/lenguaweb] [--rondas 3] [--comprueba]
                    [--tope X] [--forma NAME ...] [--veces 4] [--divide 1]

Each row gives the peak resident memory, that peak over the page's size, and the memory
above the program's own (its peak on a page of one paragraph, printed first) over the
page's size: what the page itself costs.

--comprueba makes the exit status 1 unless, for each shape, from the smallest size to the
largest the processor time grows at most 2.2 times per doubling (a run under a tenth of a
second counts as a tenth: the program's start weighs there) and the peak memory above the
program's own at most 2.2 times per doubling. A square law grows four times per doubling.
With --tope X, it is 1 too when at its largest size a shape's memory above the program's
own is more than X times its page. With --plazo S, it is 1 when a run takes more than S
seconds of processor time, or S times 4 by the clock (the run is stopped then, and the
shape's larger sizes are not run): a check of an optimised build that holds on a busy
machine, where a square law takes minutes at the largest sizes and the shapes take seconds.
"""
import argparse
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import escala  # noqa: E402

RAIZ = escala.RAIZ


def atributos(n):
    return (b"<html><body>\n<p>Some text <span " +
            b" ".join(b'a%d="v"' % i for i in range(n)) + b">inside</span> after.</p>\n"
            b"</body></html>\n")


def cierres(n):
    return (b"<html><body>\n<p>Some text " + b"<span>" * n + b"word" + b"</i>" * n +
            b" end.</p>\n</body></html>\n")


def valores(n):
    return (b"<html><body>\n<p>Some text " + b'<a title="a<b">w</a> ' * n +
            b"end.</p>\n</body></html>\n")


def distintos(n):
    return (b"<html><body>\n<p>Some text " +
            b"".join(b'<a title="a<b%d">w</a> ' % i for i in range(n)) +
            b"end.</p>\n</body></html>\n")


def escrituras(n):
    nombre = b"abcdefghijklmnopqrstuvwx"
    return (b"<html><body>\n<p>Some text " +
            b"".join(b"<b " + bytes(c - 32 if i >> k & 1 else c for k, c in enumerate(nombre)) +
                     b">w</b> " for i in range(n)) +
            b"end.</p>\n</body></html>\n")


def notas(n):
    return (b"<html><body>\n" + b'<div its-loc-note="x">' * n + b"</b>" * n +
            b"<p>Hello</p>\n</body></html>\n")


def crudos(n):
    return b"<html><body>\n<p>Start <textarea> " + b"<<a" * n + b" end>.</p>\n</body></html>\n"


def aperturas(n):
    return (b"<html><body>\n<p>Start " + b"<b>" * n + b" mid " + b"</span>" * n +
            b" end.</p>\n</body></html>\n")


def menores(n):
    return b"<" * n


def alternos(n):
    return b"<p>" + b"x< " * n + b".</p>"


# The first N of each shape: large enough that the runs take more than the program's start.
FORMAS = {"atributos": (atributos, 40000), "cierres": (cierres, 40000),
          "valores": (valores, 40000), "distintos": (distintos, 40000),
          "escrituras": (escrituras, 40000), "notas": (notas, 40000),
          "crudos": (crudos, 40000), "aperturas": (aperturas, 40000, "extract", "--force"),
          "menores": (menores, 1000000),
          "alternos": (alternos, 200000)}


def mide(orden, plazo=None):
    """Processor seconds and peak resident MB of one run of orden, as escala.py measures;
    None when it runs past plazo seconds by the clock."""
    medida = escala.mide(orden, plazo)
    return medida[1:] if medida is not None else None


def main():
    argumentos = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    argumentos.add_argument("--programa",
                            default=os.path.join(RAIZ, "build/release/host/lenguaweb"))
    argumentos.add_argument("--rondas", type=int, default=3, help="runs of each; the least counts")
    argumentos.add_argument("--veces", type=int, default=4, help="sizes: N, 2N ... 2^(veces-1) N")
    argumentos.add_argument("--divide", type=int, default=1,
                            help="first N of each shape divided by this (for slow programs)")
    argumentos.add_argument("--forma", action="append", choices=sorted(FORMAS))
    argumentos.add_argument("--comprueba", action="store_true")
    argumentos.add_argument("--tope", type=float,
                            help="with --comprueba, the most memory above the program's own, "
                                 "in times the page, at each shape's largest size")
    argumentos.add_argument("--plazo", type=float,
                            help="the most processor seconds a run may take (4 times as many "
                                 "by the clock)")
    a = argumentos.parse_args()

    carpeta = tempfile.mkdtemp(prefix="lenguaweb-formas-")
    pagina, salida = os.path.join(carpeta, "pagina.html"), os.path.join(carpeta, "salida.html")
    bien, lento = True, False
    with open(pagina, "wb") as f:
        f.write(b"<p>x</p>")
    base = min(mide([a.programa, "pseudo", pagina, "-o", salida])[1] for _ in range(a.rondas))
    print("the program's own peak (a page of one paragraph): %.1f MB" % base)
    print("%-10s %10s %10s %9s %9s %8s %8s" % ("shape", "N", "page MB", "seconds", "peak MB",
                                               "x page", "above"))
    try:
        for nombre in a.forma or list(FORMAS):
            genera, n, *orden = FORMAS[nombre]
            orden = orden or ["pseudo"]
            n //= a.divide
            filas = []
            for _ in range(a.veces):
                datos = genera(n)
                with open(pagina, "wb") as f:
                    f.write(datos)
                reloj = 4 * a.plazo if a.plazo is not None else None
                medidas = [mide([a.programa, orden[0], pagina, *orden[1:], "-o", salida], reloj)
                           for _ in range(a.rondas)]
                if None in medidas or (a.plazo is not None and
                                       min(m[0] for m in medidas) > a.plazo):
                    print("  %s: a run at N = %d took more than %g seconds" % (nombre, n, a.plazo))
                    lento = True
                    break
                segundos = min(m[0] for m in medidas)
                mb = min(m[1] for m in medidas)
                tamano = len(datos) / 1048576.0
                filas.append((n, tamano, segundos, mb))
                print("%-10s %10d %10.2f %9.2f %9.1f %8.1f %8.1f" %
                      (nombre, n, tamano, segundos, mb, mb / tamano, (mb - base) / tamano))
                n *= 2
            if len(filas) < 2:
                continue
            # Growth per doubling, over all of them: one run disturbed by the machine's other
            # work weighs less than it would alone.
            (n0, _, s0, m0), (n1, _, s1, m1) = filas[0], filas[-1]
            doblados = len(filas) - 1
            tiempo = (max(s1, 0.1) / max(s0, 0.1)) ** (1.0 / doblados)
            memoria = (max(m1 - base, 1.0) / max(m0 - base, 1.0)) ** (1.0 / doblados)
            print("  %s: per doubling from N = %d to %d, time x%.2f, memory x%.2f" %
                  (nombre, n0, n1, tiempo, memoria))
            if tiempo > 2.2 or memoria > 2.2:
                bien = False
            encima = (m1 - base) / filas[-1][1]
            if a.tope is not None and encima > a.tope:
                print("  %s: %.1f times the page above the program's own, more than %g" %
                      (nombre, encima, a.tope))
                bien = False
    finally:
        for f in (pagina, salida):
            if os.path.exists(f):
                os.unlink(f)
        os.rmdir(carpeta)
    if (a.comprueba and not bien) or lento:
        sys.exit(1)


if __name__ == "__main__":
    main()
