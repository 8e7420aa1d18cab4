// flujos.cpp - tests of save streams: round trips, the byte encoding, damaged streams.

#include "companion/ayudas.h"

namespace {

using Flujos = pruebas::Entorno;

std::string bytes_de(const flujo_t *flujo) {
  size_t longitud = 0;
  const void *datos = flujo_dame_memoria(flujo, &longitud);
  return datos != nullptr ? std::string(static_cast<const char *>(datos), longitud) : "<null>";
}

// One item of each kind and the edges of each; largo is a text past 16 bits.
void graba_todo(flujo_t *f, const std::string &largo) {
  flujo_graba_uchar(0, f);
  flujo_graba_uchar(255, f);
  flujo_graba_bool(5, f);  // any true value is written as 1
  flujo_graba_bool(FALSO, f);
  flujo_graba_cadena(nullptr, f);
  flujo_graba_cadena(largo.c_str(), f);
  flujo_graba_uchar(7, f);
}

// Reads back the items of graba_todo, as text.
std::string lee_todo(flujo_t *f) {
  std::string r = std::to_string(flujo_lee_uchar(f));
  r += " " + std::to_string(flujo_lee_uchar(f));
  r += " " + std::to_string(flujo_lee_bool(f));
  r += " " + std::to_string(flujo_lee_bool(f));
  r += " [" + toma(flujo_lee_cadena(f)) + "]";
  r += " [" + toma(flujo_lee_cadena(f)) + "]";
  return r + " " + std::to_string(flujo_lee_uchar(f));
}

TEST_F(Flujos, IdaYVueltaDeCadaElementoEnMemoriaYEnFichero) {
  std::string largo;  // every byte value but NUL
  for (int i = 0; i < 70000; ++i) largo += static_cast<char>(1 + i % 255);
  flujo_t *f = flujo_abre_memoria_escritura();
  graba_todo(f, largo);
  const std::string bytes = bytes_de(f);
  // Bytes, booleans, an empty text and the count 70000, little-endian.
  EXPECT_EQ(bytes.substr(0, 12),
            std::string("\x00\xFF\x01\x00\x00\x00\x00\x00\x70\x11\x01\x00", 12));
  EXPECT_EQ(flujo_posicion(f), bytes.size());
  EXPECT_EQ(flujo_cierra(&f), CIERTO);
  EXPECT_EQ(f, nullptr);
  const std::string camino = ruta("enlaces.dat");
  f = flujo_abre_escritura(camino.c_str());
  graba_todo(f, largo);
  EXPECT_FALSE(std::filesystem::exists(camino));  // in place only once closed
  EXPECT_EQ(flujo_cierra(&f), CIERTO);
  EXPECT_TRUE(lee(camino) == bytes);
  std::string otros = bytes;
  otros[2] = 7;  // any byte but 0 reads as CIERTO
  for (flujo_t *l :
       {flujo_abre_memoria(otros.data(), otros.size()), flujo_abre_lectura(camino.c_str())}) {
    EXPECT_TRUE(lee_todo(l) == "0 255 1 0 [] [" + largo + "] 7");
    EXPECT_EQ(flujo_posicion(l), bytes.size());
    EXPECT_EQ(flujo_cierra(&l), CIERTO);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(carpeta_), {}), 1);
  EXPECT_TRUE(informes().empty());
}

TEST_F(Flujos, CadaCorteDeUnFlujoValidoFallaUnaSolaVez) {
  flujo_t *f = flujo_abre_memoria_escritura();
  graba_todo(f, "de");
  const std::string bytes = bytes_de(f);
  flujo_cierra(&f);
  for (size_t corte = 0; corte < bytes.size(); ++corte) {
    SCOPED_TRACE("cut at byte " + std::to_string(corte));
    olvida_informes();
    f = flujo_abre_memoria(bytes.data(), corte);
    lee_todo(f);
    EXPECT_EQ(flujo_fallido(f), CIERTO);
    EXPECT_EQ(lee_todo(f), "0 0 0 0 [] [] 0");  // every read after the failure
    EXPECT_EQ(informes().size(), 1u);
    EXPECT_EQ(flujo_cierra(&f), FALSO);
  }
}

TEST_F(Flujos, FlujosRotosNulosOMalUsados) {
  const unsigned char bytes[] = {0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'};
  flujo_t *f = flujo_abre_memoria(bytes, sizeof bytes);
  const int64_t antes = mem_bloques_vivos();
  char *t = flujo_lee_cadena(f);
  EXPECT_EQ(mem_bloques_vivos(), antes + 1);  // the empty text, nothing else
  EXPECT_EQ(toma(t), "");
  EXPECT_EQ(flujo_lee_uchar(f), 0);  // the 'a' is not given after the failure
  EXPECT_EQ(flujo_posicion(f), 4u);
  EXPECT_EQ(flujo_cierra(&f), FALSO);
  ASSERT_EQ(informes().size(), 1u);
  EXPECT_EQ(informes()[0].condicion,
            "save stream in memory ends early: a text at byte 4 needs 4294967295 bytes, 3 left");
  // A null stream, and writing to a reading stream.
  graba_todo(nullptr, "");
  EXPECT_EQ(lee_todo(nullptr), "0 0 0 0 [] [] 0");
  EXPECT_EQ(flujo_fallido(nullptr), CIERTO);
  EXPECT_EQ(flujo_cierra(&f), FALSO);  // f was left null by the first close
  EXPECT_EQ(cuenta_informes("(flujo) != NULL"), 16u);
  f = flujo_abre_memoria(bytes, 1);
  flujo_graba_uchar(2, f);
  EXPECT_EQ(flujo_lee_uchar(f), 0);
  EXPECT_EQ(flujo_cierra(&f), FALSO);
  EXPECT_EQ(cuenta_informes("save stream in memory is not open for writing"), 1u);
}

TEST_F(Flujos, FicherosQueNoSePuedenAbrirOQueFallan) {
  const std::string falta = ruta("falta.dat"), destino = ruta("no/existe.dat");
  EXPECT_EQ(flujo_abre_lectura(falta.c_str()), nullptr);
  EXPECT_EQ(flujo_abre_escritura(destino.c_str()), nullptr);
  EXPECT_EQ(cuenta_informes("cannot read '" + falta + "': No such file or directory"), 1u);
  EXPECT_EQ(cuenta_informes("cannot write '" + destino + "': No such file or directory"), 1u);
  // Reading a writing stream fails it: nothing is written at close, the old file stays.
  const std::string camino = escribe("enlaces.dat", "old");
  flujo_t *f = flujo_abre_escritura(camino.c_str());
  ASSERT_NE(f, nullptr);
  flujo_graba_cadena("new", f);
  flujo_lee_uchar(f);
  EXPECT_EQ(flujo_cierra(&f), FALSO);
  EXPECT_EQ(cuenta_informes("save stream '" + camino + "' is not open for reading"), 1u);
  EXPECT_EQ(lee(camino), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(carpeta_), {}), 1);
  // A truncated file names itself in its report.
  f = flujo_abre_lectura(camino.c_str());
  EXPECT_EQ(toma(flujo_lee_cadena(f)), "");
  EXPECT_EQ(flujo_cierra(&f), FALSO);
  EXPECT_EQ(cuenta_informes("save stream '" + camino +
                            "' ends early: a text's length at byte 0 needs 4 bytes, 3 left"),
            1u);
}

}  // namespace
