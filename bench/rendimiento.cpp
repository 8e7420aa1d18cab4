// rendimiento.cpp - times the main road (crea, texts, rebuild) on pages of 1 to 64 MB.
//
// The pages are real pages of tests/data (Western ones, read as Spanish) repeated up to
// the size. Each size runs in a process of its own, started afresh (not a fork of this one,
// whose memory a fork would share and copy on the first write), so that its memory is the
// road's own: its peak is that of its first round, and the first round's total ("first s")
// is what a program that reads one page pays, new memory included. Each step is timed
// over several rounds and the median kept.
//
//   rendimiento [--rondas N] [--hasta MB] [--comprueba] [--codificacion LABEL] [--idioma N]
//               [--bloques]
//   rendimiento --tablas
//   rendimiento --escaner [--hasta MB]
//
// --bloques cuts the pages with the block segmentation instead of the default one.
//
// --tablas times instead lenguaweb_preprocesa_links on a page of 10,000 distinct links
// against an A table of 100,000 records: each link should cost the same whatever the
// table holds.
//
// --escaner times instead a whole walk of the exported tag scanners (bytes and UTF-16) over
// pages of 1 MB to --hasta: each call must cost its token, so the time per MB stays flat.
//
// --codificacion writes the page in another encoding (iconv's LABEL; what it lacks becomes
// '?'), declared by a META at its head, or with a byte order mark for UTF-16 (written
// little-endian), to time a page the library converts; --idioma is the host's language
// (0x0C0A, Spanish, by default).
// --comprueba makes the exit status non-zero unless the throughput is at least 100 MB/s,
// doubling the page at most doubles the time (with 25% for noise), and the peak memory
// stays within four times the page.
#include <iconv.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "lenguaweb.h"

namespace {

uint32_t idioma = 0x0C0A;  // the host's language, Spanish unless told
const char *const kPaginas[] = {"python_bisect.html",     "libffi_the_basics.html",
                                "apache_ssi.es.html",     "apache_cgi.es.html",
                                "xfig_introduction.html", "ncurses_curs_getstr.3x.html"};

struct Medida {
  double crea = 0, textos = 0, reconstruye = 0;  // seconds, medians
  double primera = 0;                            // seconds, the first round's total
  double pico_mb = 0;                            // peak resident memory over the start
  uint32_t num_textos = 0;
};

std::string lee(const std::string &ruta) {
  std::ifstream f(ruta, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

long memoria_kb(const char *campo) {
  std::ifstream f("/proc/self/status");
  std::string linea;
  while (std::getline(f, linea))
    if (linea.rfind(campo, 0) == 0) return std::atol(linea.c_str() + std::strlen(campo));
  return 0;
}

void sin_informes(const char *, const char *, uint32_t, void *) {}

double mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Runs in the child: the page at ruta, rondas times.
Medida mide(const std::string &ruta, const std::string &salida, int rondas) {
  using reloj = std::chrono::steady_clock;
  const auto segundos = [](reloj::time_point a, reloj::time_point b) {
    return std::chrono::duration<double>(b - a).count();
  };
  Medida m;
  std::vector<double> crea, textos, reconstruye;
  {
    // Converters and their tables are loaded once per process, whatever the page: a
    // first small page loads them before the peak is measured.
    std::ofstream(salida, std::ios::binary) << "<p>a</p>";
    lenguaweb_t *doc = lenguaweb_crea(salida.c_str(), idioma);
    lenguaweb_destruye(&doc);
  }
  // The peak counts from here: the page's memory, not the program's.
  std::ofstream("/proc/self/clear_refs") << "5";
  const long base_kb = memoria_kb("VmRSS:");
  for (int r = 0; r < rondas; ++r) {
    const auto t0 = reloj::now();
    lenguaweb_t *doc = lenguaweb_crea(ruta.c_str(), idioma);
    const auto t1 = reloj::now();
    lista_cad_t *ids = nullptr;
    lista_cad_t *lista = lenguaweb_dame_textos_a_trducir(doc, &ids);
    const auto t2 = reloj::now();
    if (lenguaweb_reconstruye_fichero_html(doc, lista, ids, nullptr, nullptr, salida.c_str(),
                                           idioma) != CIERTO)
      std::exit(3);
    const auto t3 = reloj::now();
    m.num_textos = lista_cad_num_elems(lista);
    lista_cad_destruye(&lista);
    lista_cad_destruye(&ids);
    lenguaweb_destruye(&doc);
    // The peak of one pass over the page: later rounds reuse freed memory as the
    // allocator pleases, which says nothing of the library.
    if (r == 0) {
      m.pico_mb = static_cast<double>(memoria_kb("VmHWM:") - base_kb) / 1024.0;
      m.primera = segundos(t0, t3);
    }
    crea.push_back(segundos(t0, t1));
    textos.push_back(segundos(t1, t2));
    reconstruye.push_back(segundos(t2, t3));
  }
  m.crea = mediana(crea);
  m.textos = mediana(textos);
  m.reconstruye = mediana(reconstruye);
  return m;
}

// Writes a page of n distinct links, named prefijo0.html, prefijo1.html ..., and
// preprocesses it into the tables; returns the processor seconds it took (which depend
// less than the wall clock on what else the machine runs), or -1 on failure.
double preprocesa_enlaces(const std::string &carpeta, const char *prefijo, int n, lista_reg_t *a,
                          lista_reg_t *img) {
  const std::string ruta = carpeta + "/enlaces.html", salida = carpeta + "/salida.html";
  {
    std::string pagina = "<P>";
    for (int i = 0; i < n; ++i)
      pagina += "<A HREF=\"" + std::string(prefijo) + std::to_string(i) + ".html\">x</A>\n";
    std::ofstream(ruta, std::ios::binary) << pagina;
  }
  const std::clock_t t0 = std::clock();
  lenguaweb_t *doc = lenguaweb_crea(ruta.c_str(), idioma);
  const booleano escrita = lenguaweb_preprocesa_links(doc, a, img, salida.c_str(), idioma);
  const double s = static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC;
  lenguaweb_destruye(&doc);
  std::remove(ruta.c_str());
  std::remove(salida.c_str());
  return escrita == CIERTO ? s : -1;
}

// Fills an A table with 100,000 records through a first page, then times a page of
// 10,000 new links against it; returns the exit status.
int mide_tablas(const std::string &carpeta) {
  constexpr int kRegistros = 100000, kEnlaces = 10000;
  lista_reg_t *a = lista_reg_crea(0), *img = lista_reg_crea(0);
  const double llenado = preprocesa_enlaces(carpeta, "viejo", kRegistros, a, img);
  const double s = preprocesa_enlaces(carpeta, "nuevo", kEnlaces, a, img);
  const uint32_t registros = lista_reg_num_elems(a);
  for (lista_reg_t *lista : {a, img}) {
    for (uint32_t i = 0; i < lista_reg_num_elems(lista); ++i) {
      tablalink_t *r = lista_reg_dame(lista, i);
      tablalink_destruye(&r);
    }
    lista_reg_destruye(&lista);
  }
  if (llenado < 0 || s < 0 || registros != kRegistros + kEnlaces) {
    std::fprintf(stderr, "rendimiento: the links were not preprocessed (%u records)\n", registros);
    return 1;
  }
  std::printf("%d links into an empty table: %.3f processor s\n", kRegistros, llenado);
  std::printf("%d new links against a table of %d records: %.3f processor s\n", kEnlaces,
              kRegistros, s);
  return 0;
}

// Walks pages of 1 MB to hasta_mb with both scanners and prints the processor seconds
// per MB; returns the exit status (1 when a walk gives no token).
int mide_escaner(int hasta_mb) {
  std::string pagina;
  std::printf("%6s %12s %12s\n", "MB", "bytes s/MB", "UTF-16 s/MB");
  for (int mb = 1; mb <= hasta_mb; mb *= 2) {
    while (pagina.size() < static_cast<size_t>(mb) << 20)
      pagina += "<b>x</b> y <a href=\"z\">w</a>\n";
    const std::u16string ancha(pagina.begin(), pagina.end());
    size_t tokens[2] = {};
    uint16_t tipo = 0;
    const std::clock_t inicio = std::clock();
    for (uint32_t p = 0; htmlparser_lee_siguiente_tag(pagina.c_str(), &p, &tipo, nullptr);)
      ++tokens[0];
    const std::clock_t mitad = std::clock();
    for (uint32_t p = 0; htmlparser_lee_siguiente_tag_u(ancha.c_str(), &p, &tipo, nullptr);)
      ++tokens[1];
    const double bytes_s = double(mitad - inicio) / CLOCKS_PER_SEC,
                 ancho_s = double(std::clock() - mitad) / CLOCKS_PER_SEC;
    if (tokens[0] == 0 || tokens[0] != tokens[1]) return 1;
    std::printf("%6d %12.4f %12.4f\n", mb, bytes_s / mb, ancho_s / mb);
  }
  return 0;
}

// The UTF-8 text in the encoding iconv calls etiqueta, '?' for each character it lacks;
// empty when iconv does not know the label.
std::string en_codificacion(const std::string &texto, const std::string &etiqueta) {
  iconv_t cd = iconv_open(etiqueta.c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "";
  std::string r(texto.size() * 4 + 16, '\0');
  char *entrada = const_cast<char *>(texto.data()), *salida = r.data();
  size_t quedan = texto.size(), libres = r.size();
  while (quedan > 0)
    if (iconv(cd, &entrada, &quedan, &salida, &libres) == static_cast<size_t>(-1)) {
      // A character the encoding lacks, or a byte that is not UTF-8: one '?' for it.
      size_t largo = 1;
      while (largo < quedan && (static_cast<unsigned char>(entrada[largo]) & 0xC0) == 0x80) ++largo;
      entrada += largo, quedan -= largo;
      char interrogacion[] = "?", *i = interrogacion;
      size_t uno = 1;
      iconv(cd, &i, &uno, &salida, &libres);
    }
  iconv_close(cd);
  r.resize(r.size() - libres);
  return r;
}

}  // namespace

int main(int argc, char **argv) {
  int rondas = 5, hasta_mb = 64, hijo_a = -1;
  bool comprueba = false, tablas = false, escaner = false;
  std::string codificacion, hijo_ruta, hijo_salida;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--hijo" && i + 3 < argc) {  // the process of one size: page, output, pipe
      hijo_ruta = argv[++i];
      hijo_salida = argv[++i];
      hijo_a = std::atoi(argv[++i]);
    } else if (a == "--rondas" && i + 1 < argc)
      rondas = std::atoi(argv[++i]);
    else if (a == "--hasta" && i + 1 < argc)
      hasta_mb = std::atoi(argv[++i]);
    else if (a == "--comprueba")
      comprueba = true;
    else if (a == "--tablas")
      tablas = true;
    else if (a == "--escaner")
      escaner = true;
    else if (a == "--bloques")
      opciones_pon_segmentacion(SEGMENTACION_BLOQUES);
    else if (a == "--codificacion" && i + 1 < argc)
      codificacion = argv[++i];
    else if (a == "--idioma" && i + 1 < argc)
      idioma = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 0));
    else {
      std::fprintf(stderr,
                   "usage: rendimiento [--rondas N] [--hasta MB] [--comprueba] "
                   "[--codificacion LABEL] [--idioma N] [--bloques] | --tablas | --escaner\n");
      return 2;
    }
  }
  informa_fallo_pon_receptor(sin_informes, nullptr);
  if (hijo_a >= 0) {
    const Medida m = mide(hijo_ruta, hijo_salida, rondas);
    return write(hijo_a, &m, sizeof m) == static_cast<ssize_t>(sizeof m) ? 0 : 2;
  }
  if (escaner) return mide_escaner(hasta_mb);
  char plantilla[] = "/tmp/lenguaweb-rendimiento-XXXXXX";
  const std::string carpeta = mkdtemp(plantilla);
  utilidades_pon_carpeta(carpeta.c_str());
  if (tablas) {
    const int estado = mide_tablas(carpeta);
    std::remove((carpeta + "/lista_html.txt").c_str());
    rmdir(carpeta.c_str());
    return estado;
  }

  std::string modelo;
  for (const char *p : kPaginas) modelo += lee(std::string(LENGUAWEB_DATOS_PRUEBA) + "/" + p);
  if (modelo.empty()) {
    std::fprintf(stderr, "rendimiento: the pages of %s cannot be read\n", LENGUAWEB_DATOS_PRUEBA);
    return 2;
  }
  // UTF-16 goes little-endian after its mark, every other encoding after a META that names
  // it; the page then ends at a whole tag of its own encoding.
  const bool utf16 = codificacion.rfind("UTF-16", 0) == 0 || codificacion.rfind("utf-16", 0) == 0;
  std::string cabeza, fin_de_tag = ">";
  if (!codificacion.empty()) {
    modelo = en_codificacion(modelo, utf16 ? "UTF-16LE" : codificacion);
    if (modelo.empty()) {
      std::fprintf(stderr, "rendimiento: iconv does not know %s\n", codificacion.c_str());
      return 2;
    }
    cabeza = utf16 ? std::string("\xFF\xFE") : "<meta charset=\"" + codificacion + "\">";
    if (utf16) fin_de_tag = std::string(">\0", 2);
  }

  std::printf("%6s %9s %9s %9s %9s %9s %9s %9s %9s %7s\n", "MB", "texts", "crea s", "texts s",
              "rebuild s", "total s", "MB/s", "first s", "peak MB", "peak/x");
  std::vector<std::pair<double, double>> tiempos;  // size, total
  bool bien = true;
  for (int mb = 1; mb <= hasta_mb; mb *= 2) {
    const std::string ruta = carpeta + "/pagina.html", salida = carpeta + "/salida.html";
    {
      std::string pagina = cabeza;
      pagina.reserve(static_cast<size_t>(mb) << 20);
      while (pagina.size() < (static_cast<size_t>(mb) << 20)) pagina += modelo;
      pagina.resize(static_cast<size_t>(mb) << 20);
      pagina.resize(pagina.rfind(fin_de_tag) + fin_de_tag.size());  // end at a tag
      std::ofstream(ruta, std::ios::binary) << pagina;
    }
    const double tamano = static_cast<double>(mb);
    int tubo[2];
    if (pipe(tubo) != 0) return 2;
    const pid_t hijo = fork();
    if (hijo == 0) {
      close(tubo[0]);
      // The same options, and the page to time.
      std::vector<char *> orden(argv, argv + argc);
      std::string a = std::to_string(tubo[1]), r = ruta, s = salida, h = "--hijo";
      for (std::string *x : {&h, &r, &s, &a}) orden.push_back(x->data());
      orden.push_back(nullptr);
      // The program's own path (not /proc/self/exe, which under valgrind is valgrind).
      char propio[4096];
      const ssize_t largo = readlink("/proc/self/exe", propio, sizeof propio - 1);
      if (largo > 0) propio[largo] = '\0';
      execv(largo > 0 ? propio : argv[0], orden.data());
      _exit(2);
    }
    close(tubo[1]);
    Medida m;
    const bool leida = read(tubo[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
    close(tubo[0]);
    int estado = 0;
    waitpid(hijo, &estado, 0);
    if (!leida || !WIFEXITED(estado) || WEXITSTATUS(estado) != 0) {
      std::fprintf(stderr, "rendimiento: the run of %d MB failed\n", mb);
      return 2;
    }
    const double total = m.crea + m.textos + m.reconstruye;
    std::printf("%6d %9u %9.3f %9.3f %9.3f %9.3f %9.1f %9.3f %9.1f %7.2f\n", mb, m.num_textos,
                m.crea, m.textos, m.reconstruye, total, tamano / total, m.primera, m.pico_mb,
                m.pico_mb / tamano);
    std::fflush(stdout);
    if (comprueba) {
      if (tamano / total < 100.0) bien = false;
      if (m.pico_mb > 4.0 * tamano) bien = false;
      if (!tiempos.empty() && total > 2.0 * tiempos.back().second * 1.25) bien = false;
    }
    tiempos.emplace_back(tamano, total);
  }
  std::remove((carpeta + "/pagina.html").c_str());
  std::remove((carpeta + "/salida.html").c_str());
  std::remove((carpeta + "/lista_html.txt").c_str());
  rmdir(carpeta.c_str());
  if (comprueba && !bien) {
    std::printf("below the aims: 100 MB/s, linear time, peak within 4x the page\n");
    return 1;
  }
  return 0;
}
