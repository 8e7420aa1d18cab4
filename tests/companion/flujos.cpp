// flujos.cpp - tests of save streams: round trips, the byte encoding, damaged streams.
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace {

using Flujos = pruebas::Entorno;

std::string bytes_de(const flujo_t *flujo) {
  size_t longitud = 0;
  const void *datos = flujo_dame_memoria(flujo, &longitud);
  return datos != nullptr ? std::string(static_cast<const char *>(datos), longitud) : "";
}

// One item of each kind, and the edges of each.
struct Elementos {
  std::string largo = std::string(1 << 20, 'x');
  std::string altos;
  Elementos() {
    for (int b = 0x80; b <= 0xFF; ++b) altos += static_cast<char>(b);
    largo[12345] = '\xe9';
  }
  void graba(flujo_t *f) const {
    flujo_graba_uchar(0, f);
    flujo_graba_uchar(255, f);
    flujo_graba_bool(CIERTO, f);
    flujo_graba_bool(FALSO, f);
    flujo_graba_cadena("", f);
    flujo_graba_cadena(nullptr, f);
    flujo_graba_cadena(altos.c_str(), f);
    flujo_graba_cadena(largo.c_str(), f);
    flujo_graba_uchar(7, f);
  }
  void comprueba(flujo_t *f) const {
    EXPECT_EQ(flujo_lee_uchar(f), 0);
    EXPECT_EQ(flujo_lee_uchar(f), 255);
    EXPECT_EQ(flujo_lee_bool(f), CIERTO);
    EXPECT_EQ(flujo_lee_bool(f), FALSO);
    for (const std::string *esperado : {&vacio, &vacio, &altos, &largo}) {
      char *t = flujo_lee_cadena(f);
      ASSERT_NE(t, nullptr);
      EXPECT_TRUE(t == *esperado) << "a text of " << esperado->size() << " bytes";
      cad_destruye(&t);
    }
    EXPECT_EQ(flujo_lee_uchar(f), 7);
    EXPECT_EQ(flujo_fallido(f), FALSO);
  }
  const std::string vacio;
};

TEST_F(Flujos, IdaYVueltaDeCadaElementoEnMemoriaYEnFichero) {
  const Elementos elementos;
  flujo_t *escritura = flujo_abre_memoria_escritura();
  elementos.graba(escritura);
  const std::string bytes = bytes_de(escritura);
  EXPECT_EQ(flujo_posicion(escritura), bytes.size());
  EXPECT_EQ(flujo_cierra(&escritura), CIERTO);
  EXPECT_EQ(escritura, nullptr);

  flujo_t *lectura = flujo_abre_memoria(bytes.data(), bytes.size());
  elementos.comprueba(lectura);
  EXPECT_EQ(flujo_posicion(lectura), bytes.size());
  EXPECT_EQ(flujo_cierra(&lectura), CIERTO);

  const std::string camino = ruta("enlaces.dat");
  escritura = flujo_abre_escritura(camino.c_str());
  ASSERT_NE(escritura, nullptr);
  elementos.graba(escritura);
  EXPECT_FALSE(std::filesystem::exists(camino));  // in place only once closed
  EXPECT_EQ(flujo_cierra(&escritura), CIERTO);
  EXPECT_EQ(lee(camino), bytes);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(carpeta_), {}), 1);

  lectura = flujo_abre_lectura(camino.c_str());
  ASSERT_NE(lectura, nullptr);
  elementos.comprueba(lectura);
  EXPECT_EQ(flujo_cierra(&lectura), CIERTO);
  EXPECT_TRUE(informes().empty());
}

TEST_F(Flujos, CodificacionExacta) {
  flujo_t *f = flujo_abre_memoria_escritura();
  flujo_graba_uchar(0xAB, f);
  flujo_graba_bool(CIERTO, f);
  flujo_graba_bool(FALSO, f);
  flujo_graba_bool(5, f);  // any true value is written as 1
  flujo_graba_cadena("hi", f);
  flujo_graba_cadena("", f);
  EXPECT_EQ(bytes_de(f), std::string("\xAB\x01\x00\x01"
                                     "\x02\x00\x00\x00hi"
                                     "\x00\x00\x00\x00",
                                     14));
  flujo_cierra(&f);

  // A count is little-endian: 0x00000100 is 256 bytes.
  std::string largo("\x00\x01\x00\x00", 4);
  largo += std::string(256, 'z');
  f = flujo_abre_memoria(largo.data(), largo.size());
  char *t = flujo_lee_cadena(f);
  EXPECT_EQ(std::string(t), std::string(256, 'z'));
  cad_destruye(&t);
  EXPECT_EQ(flujo_cierra(&f), CIERTO);
}

TEST_F(Flujos, UnBooleanoDistintoDeCeroSeLeeComoCierto) {
  const unsigned char bytes[] = {7, 0, 1, 255};
  flujo_t *f = flujo_abre_memoria(bytes, sizeof bytes);
  for (booleano esperado : {CIERTO, FALSO, CIERTO, CIERTO}) EXPECT_EQ(flujo_lee_bool(f), esperado);
  EXPECT_EQ(flujo_cierra(&f), CIERTO);
}

TEST_F(Flujos, CadaCorteDeUnFlujoValidoFallaUnaSolaVez) {
  flujo_t *escritura = flujo_abre_memoria_escritura();
  flujo_graba_uchar(3, escritura);
  flujo_graba_cadena("abc", escritura);
  flujo_graba_bool(CIERTO, escritura);
  flujo_graba_cadena("", escritura);
  flujo_graba_cadena("de", escritura);
  const std::string bytes = bytes_de(escritura);
  flujo_cierra(&escritura);

  for (size_t corte = 0; corte < bytes.size(); ++corte) {
    SCOPED_TRACE("cut at byte " + std::to_string(corte));
    olvida_informes();
    flujo_t *f = flujo_abre_memoria(bytes.data(), corte);
    std::vector<char *> textos;
    flujo_lee_uchar(f);
    textos.push_back(flujo_lee_cadena(f));
    flujo_lee_bool(f);
    textos.push_back(flujo_lee_cadena(f));
    textos.push_back(flujo_lee_cadena(f));
    EXPECT_EQ(flujo_fallido(f), CIERTO);
    // From the failure on, every read gives 0, FALSO or a new empty text.
    EXPECT_EQ(flujo_lee_uchar(f), 0);
    EXPECT_EQ(flujo_lee_bool(f), FALSO);
    textos.push_back(flujo_lee_cadena(f));
    EXPECT_STREQ(textos.back(), "");
    for (char *&t : textos) {
      EXPECT_NE(t, nullptr);
      cad_destruye(&t);
    }
    EXPECT_EQ(informes().size(), 1u);
    EXPECT_EQ(flujo_cierra(&f), FALSO);
  }
}

TEST_F(Flujos, UnaCuentaEnormeNoReservaNada) {
  const unsigned char bytes[] = {0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'};
  flujo_t *f = flujo_abre_memoria(bytes, sizeof bytes);
  const int64_t antes = mem_bloques_vivos();
  char *t = flujo_lee_cadena(f);
  EXPECT_EQ(mem_bloques_vivos(), antes + 1);  // the empty text, nothing else
  EXPECT_STREQ(t, "");
  cad_destruye(&t);
  EXPECT_EQ(flujo_lee_uchar(f), 0);  // the 'a' is not given after the failure
  EXPECT_EQ(flujo_fallido(f), CIERTO);
  EXPECT_EQ(flujo_posicion(f), 4u);
  ASSERT_EQ(informes().size(), 1u);
  EXPECT_EQ(informes()[0].condicion,
            "save stream in memory ends early: a text at byte 4 needs 4294967295 bytes, 3 left");
  EXPECT_EQ(flujo_cierra(&f), FALSO);
}

TEST_F(Flujos, FlujoNuloYUsoEquivocado) {
  EXPECT_EQ(flujo_lee_uchar(nullptr), 0);
  EXPECT_EQ(flujo_lee_bool(nullptr), FALSO);
  char *t = flujo_lee_cadena(nullptr);
  EXPECT_STREQ(t, "");
  cad_destruye(&t);
  flujo_graba_bool(CIERTO, nullptr);
  EXPECT_EQ(flujo_fallido(nullptr), CIERTO);
  flujo_t *nulo = nullptr;
  EXPECT_EQ(flujo_cierra(&nulo), FALSO);
  EXPECT_EQ(cuenta_informes("(flujo) != NULL"), 6u);

  // Writing to a reading stream, or reading a writing one, fails it.
  olvida_informes();
  const unsigned char byte = 1;
  flujo_t *lectura = flujo_abre_memoria(&byte, 1);
  flujo_graba_uchar(2, lectura);
  EXPECT_EQ(flujo_lee_uchar(lectura), 0);
  EXPECT_EQ(flujo_cierra(&lectura), FALSO);
  flujo_t *escritura = flujo_abre_memoria_escritura();
  flujo_lee_uchar(escritura);
  EXPECT_EQ(flujo_cierra(&escritura), FALSO);
  EXPECT_EQ(cuenta_informes("save stream in memory is not open for writing"), 1u);
  EXPECT_EQ(cuenta_informes("save stream in memory is not open for reading"), 1u);
}

TEST_F(Flujos, FicherosQueNoSePuedenAbrir) {
  const std::string falta = ruta("falta.dat");
  EXPECT_EQ(flujo_abre_lectura(falta.c_str()), nullptr);
  EXPECT_EQ(cuenta_informes("cannot read '" + falta + "': No such file or directory"), 1u);

  const std::string destino = ruta("no/existe.dat");
  EXPECT_EQ(flujo_abre_escritura(destino.c_str()), nullptr);
  EXPECT_EQ(cuenta_informes("cannot write '" + destino + "': No such file or directory"), 1u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(carpeta_), {}), 0);
}

TEST_F(Flujos, UnFlujoDeEscrituraQueFallaDejaElFicheroAnterior) {
  const std::string camino = escribe("enlaces.dat", "old");
  flujo_t *f = flujo_abre_escritura(camino.c_str());
  ASSERT_NE(f, nullptr);
  flujo_graba_cadena("new", f);
  flujo_lee_uchar(f);  // a misuse fails the stream: nothing is written at close
  EXPECT_EQ(flujo_cierra(&f), FALSO);
  EXPECT_EQ(lee(camino), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(carpeta_), {}), 1);

  // A truncated file read from disk names the file in its one report.
  olvida_informes();
  f = flujo_abre_lectura(camino.c_str());
  char *t = flujo_lee_cadena(f);
  EXPECT_STREQ(t, "");
  cad_destruye(&t);
  ASSERT_EQ(informes().size(), 1u);
  EXPECT_EQ(informes()[0].condicion, "save stream '" + camino +
                                         "' ends early: a text's length at byte 0 needs 4 bytes, "
                                         "3 left");
  EXPECT_EQ(flujo_cierra(&f), FALSO);
}

}  // namespace
