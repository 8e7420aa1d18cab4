#!/usr/bin/env python3
"""escala.py - time and peak memory of the lenguaweb command on pages of 1 to 256 MB.

Each size runs extract (the page to its PO file), merge (the page and that PO file back to
a page), links (the page to a page of link references and a new table) and pseudo, each in
a process of its own, timed by the clock and by its processor time, and measured by its
peak resident memory. The pages are the real pages of tests/data that the library's
timing program uses, repeated up to the size and cut after a tag. It needs GNU time
(scripts/dependencias.sh installs it).

    bench/escala.py [--programa build/release/host/lenguaweb] [--hasta 256] [--rondas 3]
                    [--comprueba]

Each figure is the least of the rounds.

--comprueba makes the exit status 1 unless extract and merge take at most three times the
processor time of pseudo and four times the page in memory (from 16 MB on, where the
program's own few MB no longer weigh), and no larger page costs any subcommand more
processor time per MB than the 16 MB page, but for a quarter of noise.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PAGINAS = ["python_bisect.html", "libffi_the_basics.html", "apache_ssi.es.html",
           "apache_cgi.es.html", "xfig_introduction.html", "ncurses_curs_getstr.3x.html"]
PASOS = ["extract", "merge", "links", "pseudo"]


def mide(orden, plazo=None):
    """Wall seconds, processor seconds (user and system) and peak resident MB of one run of
    orden; exits when the run fails. With plazo, a run still going after that many seconds
    by the clock is stopped, and None is returned.

    GNU time makes the run: a process started straight from here would count this
    interpreter's memory in its peak, which a fork carries over an exec."""
    with tempfile.NamedTemporaryFile("r") as medida, open(os.devnull, "wb") as nulo:
        inicio = time.monotonic()
        try:
            estado = subprocess.call(["/usr/bin/time", "-f", "%U %S %M", "-o", medida.name] +
                                     orden, stdout=nulo, stderr=nulo, timeout=plazo)
        except subprocess.TimeoutExpired:
            return None
        segundos = time.monotonic() - inicio
        if estado != 0:
            sys.exit(os.path.basename(sys.argv[0]) + ": failed: " + " ".join(orden))
        usuario, sistema, kb = medida.read().split()[-3:]
        return segundos, float(usuario) + float(sistema), int(kb) / 1024.0


def main():
    argumentos = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    argumentos.add_argument("--programa",
                            default=os.path.join(RAIZ, "build/release/host/lenguaweb"))
    argumentos.add_argument("--hasta", type=int, default=256, help="largest page, in MB")
    argumentos.add_argument("--rondas", type=int, default=3, help="runs of each; the least counts")
    argumentos.add_argument("--comprueba", action="store_true")
    a = argumentos.parse_args()

    modelo = b"".join(open(os.path.join(RAIZ, "tests/data", p), "rb").read() for p in PAGINAS)
    carpeta = tempfile.mkdtemp(prefix="lenguaweb-escala-")
    pagina, po = os.path.join(carpeta, "pagina.html"), os.path.join(carpeta, "pagina.po")
    salida, tabla = os.path.join(carpeta, "salida.html"), os.path.join(carpeta, "tabla")
    ordenes = {
        "extract": [a.programa, "extract", pagina, "-o", po],
        "merge": [a.programa, "merge", pagina, po, "-o", salida],
        "links": [a.programa, "links", pagina, "-o", salida, "--links", tabla],
        "pseudo": [a.programa, "pseudo", pagina, "-o", salida],
    }
    filas = []
    bien, base = True, None
    try:
        mb = 1
        while mb <= a.hasta:
            tamano = mb << 20
            datos = (modelo * (tamano // len(modelo) + 1))[:tamano]
            with open(pagina, "wb") as f:
                f.write(datos[:datos.rfind(b">") + 1])
            medidas = {}
            for p in PASOS:
                rondas = []
                for _ in range(a.rondas):
                    if os.path.exists(tabla):  # links makes a new table each time
                        os.remove(tabla)
                    rondas.append(mide(ordenes[p]))
                # The least time is the one least disturbed by the machine's other work.
                medidas[p] = tuple(min(r[k] for r in rondas) for k in range(3))
            filas.append((mb, medidas))
            print("%d MB done" % mb, file=sys.stderr, flush=True)
            # Processor time: the machine may be shared, and the clock counts the others.
            for p in ("extract", "merge"):
                if mb >= 16:  # below, the program's own few MB weigh more than the page
                    bien &= medidas[p][1] <= 3 * medidas["pseudo"][1] and medidas[p][2] <= 4 * mb
            if mb == 16:
                base = medidas
            elif mb > 16:  # linear: no page costs more per MB than the 16 MB one, give or take
                bien &= all(medidas[p][1] / mb <= 1.25 * base[p][1] / 16 for p in PASOS)
            mb *= 2
    finally:
        shutil.rmtree(carpeta, ignore_errors=True)
    print("Seconds, by the clock and of processor time (user and system):")
    print("%6s" % "MB" + "".join("%17s" % p for p in PASOS))
    for mb, m in filas:
        print("%6d" % mb + "".join("%8.2f %8.2f" % (m[p][0], m[p][1]) for p in PASOS))
    print("\nPeak resident memory, MB and times the page:")
    print("%6s" % "MB" + "".join("%17s" % p for p in PASOS))
    for mb, m in filas:
        print("%6d" % mb + "".join("%8.1f %8.2f" % (m[p][2], m[p][2] / mb) for p in PASOS))
    if a.comprueba and not bien:
        sys.exit("escala.py: a figure is beyond its aim")


if __name__ == "__main__":
    main()
