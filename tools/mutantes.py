#!/usr/bin/env python3
"""mutantes.py - small changes to the library's code, and which tests catch each one.

Each mutant is one change on one line of a library source or header (a comparison flipped, a
constant moved by one, a condition negated, a result turned over). For each, the script
writes the changed file, builds the tests in its own build folder, runs them through
CTest, records which test cases fail, and puts the file back as it was (also when it is
interrupted). A mutant is named by its file, the text of its line and the change, not by
a line number, so that the same mutants can be tried again on code that moved
(--repite FILE.tsv).

    tools/mutantes.py [--mutantes N] [--semilla S] [--salida R.tsv]
                      [--repite R.tsv [--solo-capturados]
                                      [--cambiados-desde REV [--cambiados P,...] [--control N]]]
                      [--carpetas companion,htmlparser,...]
    tools/mutantes.py --compara BEFORE.tsv AFTER.tsv
    tools/mutantes.py --valida BASE.tsv OTHER.tsv

--compara sets two tables of the same mutants side by side (matched by file, line text
and change): how many each caught, the mutants caught before and not after, and the
tests that were the only ones to catch some mutant before, with whether each is still
among the tests that catch it after. It exits 1 when a mutant caught before is not
caught after.

--valida asks what trimming by one sample's evidence would cost: it drops, largest first,
every test case whose caught mutants of BASE all keep another catcher, and counts the
mutants of another sample, OTHER, that no remaining test catches.

By default the mutants are taken from the library's folders; --carpetas names others (the
command, host, or the site checker, tools/sitios) whose tests are to be weighed too.

The table written (tab-separated) has one row per mutant: file, line number, change,
line text, result ("caught", "survived", "does not build"), and the tests that failed.
On failure to configure or build the unmutated code the script stops with status 2,
leaving every source as it was.
"""

import argparse
import os
import random
import re
import resource
import signal
import subprocess
import sys
import time

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CARPETAS = ("companion", "htmlparser", "lenguaweb", "tablalink", "lenguatxt", "privado")
CONSTRUCCION = os.path.join(RAIZ, "build", "mutantes")

# (name, pattern, replacement): each applied at one place of a line.
OPERADORES = (
    ("== to !=", re.compile(r" == "), " != "),
    ("!= to ==", re.compile(r" != "), " == "),
    ("< to <=", re.compile(r" < "), " <= "),
    ("<= to <", re.compile(r" <= "), " < "),
    ("> to >=", re.compile(r" > "), " >= "),
    (">= to >", re.compile(r" >= "), " > "),
    ("&& to ||", re.compile(r" && "), " || "),
    ("|| to &&", re.compile(r" \|\| "), " && "),
    ("+ 1 to + 2", re.compile(r"\+ 1\b"), "+ 2"),
    ("- 1 to - 2", re.compile(r"- 1\b"), "- 2"),
    ("true to false", re.compile(r"\breturn true;"), "return false;"),
    ("false to true", re.compile(r"\breturn false;"), "return true;"),
    ("CIERTO to FALSO", re.compile(r"\breturn CIERTO;"), "return FALSO;"),
    ("FALSO to CIERTO", re.compile(r"\breturn FALSO;"), "return CIERTO;"),
    ("if negated", re.compile(r"\bif \((?!constexpr)"), "if (!"),
)


def lineas_candidatas(ruta):
    """Lines of a source that are code: no comment, no preprocessor line, no assertion."""
    with open(ruta, encoding="utf-8") as f:
        lineas = f.read().split("\n")
    en_comentario = False
    for numero, linea in enumerate(lineas, 1):
        limpia = linea.strip()
        if en_comentario:
            en_comentario = "*/" not in limpia
            continue
        if limpia.startswith("/*"):
            en_comentario = "*/" not in limpia
            continue
        if not limpia or limpia.startswith(("//", "#", "*", "static_assert")):
            continue
        yield numero, linea


def sitios(carpetas):
    """Every (file, line number, line text, operator index, match index) that a mutant can take."""
    for carpeta in carpetas:
        base = os.path.join(RAIZ, carpeta)
        for raiz, carpetas_dentro, ficheros in os.walk(base):
            # Tests kept beside a tool are no code to mutate.
            carpetas_dentro[:] = [c for c in carpetas_dentro if c != "pruebas"]
            for nombre in sorted(ficheros):
                # Headers too: the tag rules and the shared helpers are templates and
                # inline functions there.
                if not nombre.endswith((".cpp", ".h")):
                    continue
                ruta = os.path.relpath(os.path.join(raiz, nombre), RAIZ)
                for numero, linea in lineas_candidatas(os.path.join(RAIZ, ruta)):
                    codigo = linea.split("//")[0]
                    for i, (_, patron, _) in enumerate(OPERADORES):
                        for j, _ in enumerate(patron.finditer(codigo)):
                            yield ruta, numero, linea, i, j


def aplica(linea, operador, aparicion):
    """The line with the operator's change at its aparicion-th match."""
    _, patron, sustituto = OPERADORES[operador]
    encontrado = list(patron.finditer(linea))[aparicion]
    return linea[: encontrado.start()] + sustituto + linea[encontrado.end():]


def limita_memoria():
    """A mutant that makes a loop allocate for ever fails its tests instead of the machine."""
    resource.setrlimit(resource.RLIMIT_AS, (2 << 30, 2 << 30))


def ejecuta(orden, **kw):
    return subprocess.run(orden, cwd=RAIZ, capture_output=True, text=True, **kw)


def prepara():
    """Configures and builds the unmutated code; exits with 2 when it cannot."""
    if not os.path.exists(os.path.join(CONSTRUCCION, "CMakeCache.txt")):
        r = ejecuta(["cmake", "-S", ".", "-B", CONSTRUCCION, "-G", "Ninja",
                     "-DCMAKE_BUILD_TYPE=Release"])
        if r.returncode != 0:
            sys.exit("mutantes.py: cannot configure:\n" + r.stderr)
    r = ejecuta(["cmake", "--build", CONSTRUCCION])
    if r.returncode != 0:
        sys.exit("mutantes.py: the unmutated code does not build:\n" + r.stdout[-3000:])
    fallos = prueba()
    if fallos:
        print("mutantes.py: tests fail without a mutant: " + " ".join(fallos), file=sys.stderr)
        sys.exit(2)


# The real-site run and the install test take minutes and test no more of the library.
EXCLUIDOS = r"^(sitios\.paginas_reales|c\.instalacion|segmentos\.medida)$"


def prueba():
    """Names of the CTest cases that fail (a timeout is a failure)."""
    r = ejecuta(["ctest", "--test-dir", CONSTRUCCION, "-j2", "--timeout", "30",
                 "-E", EXCLUIDOS], preexec_fn=limita_memoria)
    fallos = []
    leyendo = False
    for linea in r.stdout.split("\n"):
        if "The following tests FAILED" in linea:
            leyendo = True
        elif leyendo and " - " in linea:
            # "NAME  # GetParam() = 2 (Failed)": the name alone.
            fallos.append(linea.split(" - ", 1)[1].split(" (")[0].split("  #")[0].strip())
    return fallos


def lee_repeticion(ruta):
    """The mutants of an earlier table: (file, line number then, line text, operator index,
    match index)."""
    nombres = [o[0] for o in OPERADORES]
    with open(ruta, encoding="utf-8") as f:
        for fila in f.read().split("\n")[1:]:
            if not fila:
                continue
            campos = fila.split("\t")
            operador, aparicion = campos[2].rsplit(" #", 1)
            yield campos[0], int(campos[1]), campos[3], nombres.index(operador), int(aparicion)


def lee_tabla(ruta):
    """{(file, line text, change, n): (result, set of failing tests)} of a table. A file
    may hold the same line more than once ("return true;"): n counts, by line number, the
    rows of the table with the same file, text and change, so that two tables of the same
    mutants pair them line by line even when the lines moved."""
    filas, vistos = {}, {}
    with open(ruta, encoding="utf-8") as f:
        todas = [fila.split("\t") for fila in f.read().split("\n")[1:] if fila]
    for c in sorted(todas, key=lambda c: (c[0], int(c[1]))):
        # Older tables wrote a parameterised test's "# GetParam() = N" too.
        pruebas = {t for t in c[5].split() if "." in t} if len(c) > 5 else set()
        n = vistos.get((c[0], c[3], c[2]), 0)
        vistos[(c[0], c[3], c[2])] = n + 1
        filas[(c[0], c[3], c[2], n)] = (c[4], pruebas)
    return filas


def bloques_de_casos(rev):
    """(suite name, its TEST block) of every test case in tests/ and fuzz/ at rev."""
    ficheros = subprocess.run(["git", "ls-tree", "-r", "--name-only", rev, "tests", "fuzz"],
                              cwd=RAIZ, capture_output=True, text=True).stdout.split()
    for fichero in (f for f in ficheros if f.endswith(".cpp")):
        modulo = fichero.split("/")[1] if fichero.startswith("tests/") else "fuzz"
        texto = subprocess.run(["git", "show", f"{rev}:{fichero}"], cwd=RAIZ,
                               capture_output=True, text=True).stdout
        for bloque in re.split(r"(?m)^(?=TEST(?:_F|_P)?\()", texto)[1:]:
            m = re.match(r"TEST(?:_F|_P)?\((\w+),\s*(\w+)\)", bloque)
            if m:
                yield f"{modulo}.{m.group(1)}.{m.group(2)}", bloque[:bloque.find("\n}\n") + 2]


def casos_de_prueba(rev):
    """{suite name: its code without blanks} of every test case at rev. Adjacent string
    literals are joined and layout comments dropped, so that a table only laid out anew is
    the same case."""
    return {nombre: re.sub(r"\s+", "", re.sub(r'"\s+"', "", re.sub(
                r"//\s*clang-format (on|off)", "", bloque)))
            for nombre, bloque in bloques_de_casos(rev)}


def en_riesgo(tabla, desde, cambiados_a_mano):
    """The mutants the table caught whose every catching test case changed since commit
    desde, is gone, or is named in cambiados_a_mano (prefixes: cases whose shared fixture
    or check code changed); the others still have a catcher that is the same code."""
    antes, ahora = casos_de_prueba(desde), casos_de_prueba("HEAD")
    def cambiado(t):
        if any(t.startswith(p) for p in cambiados_a_mano):
            return True
        if "/" in t:  # "fuzz.Objetivos/Regresiones.Caso/pagina": the code of fuzz.Regresiones.Caso
            partes = t.split("/")
            t = partes[0].split(".")[0] + "." + partes[1]
        return t in antes and antes.get(t) != ahora.get(t)
    return {k for k, (resultado, pruebas) in lee_tabla(tabla).items()
            if resultado == "caught" and all(cambiado(t) for t in pruebas)}


def lineas_de_casos(rev):
    """{suite name: non-blank lines of its TEST block} of every test case at rev."""
    return {nombre: sum(1 for l in bloque.split("\n") if l.strip())
            for nombre, bloque in bloques_de_casos(rev)}


def caso_de(t):
    """The test case of a CTest name ("fuzz.Objetivos/Regresiones.Caso/pagina" is
    fuzz.Regresiones.Caso)."""
    if "/" in t:
        partes = t.split("/")
        return partes[0].split(".")[0] + "." + partes[1]
    return t


def valida(bases, otra, hasta_lineas=None, guarda=(), rev="HEAD"):
    """What trimming by the evidence of the tables bases (comma-separated) would cost: drop
    every test case whose caught mutants all keep another catcher, the fewest caught
    mutants per line first (the largest first without hasta_lineas), until hasta_lineas
    lines are dropped; cases named or prefixed in guarda stay. Then count the mutants that
    otra caught and that no test case left catches. Sizes are non-blank lines at rev."""
    lineas = lineas_de_casos(rev)
    a = {}
    for base in bases.split(","):
        for k, (resultado, pruebas) in lee_tabla(base).items():
            if resultado == "caught":
                a[(base,) + k] = {caso_de(t) for t in pruebas}
    b = {k: {caso_de(t) for t in v[1]} for k, v in lee_tabla(otra).items() if v[0] == "caught"}
    de = {}
    for k, pruebas in a.items():
        for t in pruebas:
            de.setdefault(t, set()).add(k)
    quedan = {k: set(p) for k, p in a.items()}
    if hasta_lineas is None:
        orden = sorted(lineas, key=lambda t: -lineas[t])
    else:
        orden = sorted(lineas, key=lambda t: -lineas[t] / (1 + len(de.get(t, ()))))
    fuera, quitadas = set(), 0
    for t in orden:
        if hasta_lineas is not None and quitadas >= hasta_lineas:
            break
        if any(t == g or (g.endswith(".") and t.startswith(g)) for g in guarda):
            continue
        if all(len(quedan[k] - {t}) > 0 for k in de.get(t, ())):
            for k in de.get(t, ()):
                quedan[k].discard(t)
            fuera.add(t)
            quitadas += lineas[t]
    perdidos = [k for k, p in b.items() if p and p <= fuera]
    print(f"trimmed by {bases}: {len(fuera)} of {len(lineas)} test cases dropped "
          f"({quitadas} lines); of the {len(b)} mutants {otra} caught, {len(perdidos)} no "
          f"longer caught")
    for k in perdidos:
        print(f"  lost: {k[0]}: {k[1].strip()} ({k[2]}), caught by {', '.join(sorted(b[k]))}")
    return 0


def compara(antes, despues):
    a, d = lee_tabla(antes), lee_tabla(despues)
    comunes = [k for k in a if k in d]
    cazados_antes = [k for k in comunes if a[k][0] == "caught"]
    cazados_despues = [k for k in comunes if d[k][0] == "caught"]
    perdidos = [k for k in cazados_antes if d[k][0] != "caught"]
    print(f"mutants in both tables: {len(comunes)} (only before: {len(a) - len(comunes)}, "
          f"only after: {len(d) - len(comunes)})")
    print(f"caught before: {len(cazados_antes)}; caught after: {len(cazados_despues)}; "
          f"caught before and not after: {len(perdidos)}")
    for k in perdidos:
        print(f"  lost: {k[0]}: {k[1].strip()} ({k[2]})")
    unicos = sorted({t for k in cazados_antes if len(a[k][1]) == 1 for t in a[k][1]})
    print(f"tests that alone caught a mutant before: {len(unicos)}")
    for t in unicos:
        mutantes = [k for k in cazados_antes if a[k][1] == {t}]
        siguen = all(t in d[k][1] for k in mutantes)
        print(f"  {t}: {len(mutantes)} mutant(s), {'still catches' if siguen else 'gone'}")
    return 1 if perdidos else 0


def main():
    args = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    args.add_argument("--mutantes", type=int, default=40)
    args.add_argument("--semilla", type=int, default=1)
    args.add_argument("--salida", default=os.path.join(RAIZ, "build", "mutantes.tsv"))
    args.add_argument("--repite", help="the table of an earlier run: try the same mutants")
    args.add_argument("--solo-capturados", action="store_true",
                      help="with --repite, only the mutants the earlier run caught (fewer "
                           "tests cannot catch one that more tests missed)")
    args.add_argument("--cambiados-desde", metavar="REV",
                      help="with --repite, only the caught mutants whose every catcher changed "
                           "since REV (see --cambiados), and --control others at random")
    args.add_argument("--cambiados", default="",
                      help="comma-separated prefixes of test cases to count as changed")
    args.add_argument("--control", type=int, default=0)
    args.add_argument("--carpetas", default=",".join(CARPETAS),
                      help="folders whose .cpp files take mutants (comma-separated)")
    args.add_argument("--compara", nargs=2, metavar=("BEFORE", "AFTER"))
    args.add_argument("--valida", nargs=2, metavar=("BASE", "OTHER"),
                      help="drop the test cases BASE's evidence allows (BASE: tables, "
                           "comma-separated); count OTHER's mutants lost")
    args.add_argument("--hasta-lineas", type=int,
                      help="with --valida, drop only until this many lines are dropped, the "
                           "fewest caught mutants per line first")
    args.add_argument("--guarda", default="",
                      help="with --valida, test cases (or prefixes ending in '.') that stay")
    opciones = args.parse_args()
    if opciones.compara:
        sys.exit(compara(*opciones.compara))
    if opciones.valida:
        sys.exit(valida(*opciones.valida, opciones.hasta_lineas,
                        [g for g in opciones.guarda.split(",") if g]))

    if opciones.repite:
        elegidos = []
        antes = lee_tabla(opciones.repite)
        riesgo = None
        if opciones.cambiados_desde:
            riesgo = en_riesgo(opciones.repite, opciones.cambiados_desde,
                               [c for c in opciones.cambiados.split(",") if c])
            otros = sorted(k for k, v in antes.items() if v[0] == "caught" and k not in riesgo)
            riesgo |= set(random.Random(opciones.semilla).sample(
                otros, min(opciones.control, len(otros))))
        nombres = [o[0] for o in OPERADORES]
        repetidos = {}
        for ruta, linea, texto, operador, aparicion in sorted(
                lee_repeticion(opciones.repite), key=lambda m: (m[0], m[1])):
            cambio = f"{nombres[operador]} #{aparicion}"
            n = repetidos.get((ruta, texto, cambio), 0)
            repetidos[(ruta, texto, cambio)] = n + 1
            clave = (ruta, texto, cambio, n)
            if opciones.solo_capturados and antes[clave][0] != "caught":
                continue
            if riesgo is not None and clave not in riesgo:
                continue
            completa = os.path.join(RAIZ, ruta)
            lineas = []
            if os.path.exists(completa):
                with open(completa, encoding="utf-8") as f:
                    lineas = f.read().split("\n")
            if texto not in lineas:
                # Code that moved out of the library's folders, was rewritten or went with
                # its file is no longer the same mutant: said, and left out of the comparison.
                print(f"mutantes.py: {ruta} no longer has the line {texto.strip()!r}",
                      file=sys.stderr)
                continue
            # Of the lines that read the same, the one nearest to where it stood.
            iguales = [i + 1 for i, l in enumerate(lineas) if l == texto]
            elegidos.append((ruta, min(iguales, key=lambda i: abs(i - linea)), texto, operador,
                             aparicion))
    else:
        todos = list(sitios(opciones.carpetas.split(",")))
        elegidos = sorted(random.Random(opciones.semilla).sample(
            todos, min(opciones.mutantes, len(todos))))

    prepara()
    original = {}

    def restaura(*_):
        for ruta, contenido in original.items():
            with open(os.path.join(RAIZ, ruta), "w", encoding="utf-8") as f:
                f.write(contenido)
        original.clear()

    signal.signal(signal.SIGINT, lambda *a: (restaura(), sys.exit(130)))
    signal.signal(signal.SIGTERM, lambda *a: (restaura(), sys.exit(143)))

    filas = ["file\tline\tchange\ttext\tresult\tfailing tests"]
    cuenta = {"caught": 0, "survived": 0, "does not build": 0}
    inicio = time.time()
    try:
        for n, (ruta, numero, texto, operador, aparicion) in enumerate(elegidos, 1):
            completa = os.path.join(RAIZ, ruta)
            with open(completa, encoding="utf-8") as f:
                original[ruta] = f.read()
            lineas = original[ruta].split("\n")
            lineas[numero - 1] = aplica(texto, operador, aparicion)
            with open(completa, "w", encoding="utf-8") as f:
                f.write("\n".join(lineas))
            if ejecuta(["cmake", "--build", CONSTRUCCION]).returncode != 0:
                resultado, fallos = "does not build", []
            else:
                fallos = prueba()
                resultado = "caught" if fallos else "survived"
            restaura()
            cuenta[resultado] += 1
            cambio = f"{OPERADORES[operador][0]} #{aparicion}"
            filas.append("\t".join([ruta, str(numero), cambio, texto, resultado,
                                    " ".join(fallos)]))
            print(f"[{n}/{len(elegidos)}] {ruta}:{numero} {cambio}: {resultado}", flush=True)
            # Written after every mutant: an interrupted run keeps what it found.
            with open(opciones.salida, "w", encoding="utf-8") as f:
                f.write("\n".join(filas) + "\n")
    finally:
        restaura()
        ejecuta(["cmake", "--build", CONSTRUCCION])
    print(f"{len(elegidos)} mutants: {cuenta['caught']} caught, {cuenta['survived']} survived, "
          f"{cuenta['does not build']} do not build ({time.time() - inicio:.0f} s); "
          f"table in {opciones.salida}")


if __name__ == "__main__":
    main()
