// entorno_pruebas.cpp - the shared test fixture.
#include "comun/entorno_pruebas.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace pruebas {
namespace {

// Reports reach the receptor on the thread that made them; each test reads its own.
thread_local std::vector<Informe> informes_recogidos;
thread_local bool recoge = false;

void receptor(const char *condicion, const char *modulo, uint32_t, void *) {
  if (recoge) informes_recogidos.push_back({condicion, modulo});
}

}  // namespace

void Entorno::SetUp() {
  informes_recogidos.clear();
  recoge = true;
  informa_fallo_pon_receptor(receptor, nullptr);
  const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string nombre = std::string(info->test_suite_name()) + "." + info->name();
  std::ranges::replace(nombre, '/', '_');
  carpeta_ = std::filesystem::temp_directory_path() / "lenguaweb-pruebas" /
             (nombre + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(carpeta_);
  std::filesystem::create_directories(carpeta_);
  utilidades_pon_carpeta(carpeta_.c_str());
  bloques_al_empezar_ = mem_bloques_vivos();
}

void Entorno::TearDown() {
  EXPECT_EQ(mem_bloques_vivos(), bloques_al_empezar_) << "companion blocks leaked by this test";
  utilidades_pon_carpeta(nullptr);
  informa_fallo_pon_receptor(nullptr, nullptr);
  recoge = false;
  if (!HasFailure()) std::filesystem::remove_all(carpeta_);
}

const std::vector<Informe> &Entorno::informes() const {
  return informes_recogidos;
}

size_t Entorno::cuenta_informes(const std::string &condicion) const {
  return std::ranges::count(informes_recogidos, condicion, &Informe::condicion);
}

std::string Entorno::condiciones() const {
  std::string r;
  for (const Informe &i : informes_recogidos) r += i.condicion;
  return r;
}

void Entorno::olvida_informes() {
  informes_recogidos.clear();
}

std::string Entorno::ruta(const std::string &nombre) const {
  return (carpeta_ / nombre).string();
}

std::string Entorno::escribe(const std::string &nombre, const std::string &contenido) const {
  const std::string camino = ruta(nombre);
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(camino).parent_path(), error);
  EXPECT_TRUE(escribe_fichero(camino, contenido)) << camino;
  return camino;
}

std::string Entorno::lee(const std::string &camino) {
  std::ifstream entrada(camino, std::ios::binary);  // opened once: camino may be a pipe
  EXPECT_TRUE(entrada.good()) << "cannot read " << camino;
  return std::string(std::istreambuf_iterator<char>(entrada), {});
}

size_t Entorno::cuenta_con(const std::filesystem::path &carpeta, const std::string &texto) {
  size_t n = 0;
  for (const auto &e : std::filesystem::directory_iterator(carpeta))
    n += e.path().filename().string().find(texto) != std::string::npos;
  return n;
}

std::string dato(const std::string &nombre) {
  return std::string(LENGUAWEB_DATOS_PRUEBA) + "/" + nombre;
}

}  // namespace pruebas
