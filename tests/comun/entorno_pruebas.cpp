// entorno_pruebas.cpp - the shared test fixture and list helpers.
#include "comun/entorno_pruebas.h"

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace pruebas {
namespace {

// Reports reach the receptor on the thread that made them; each test reads its own.
thread_local std::vector<Informe> *informes_del_hilo = nullptr;

void receptor(const char *condicion, const char *modulo, uint32_t, void *) {
  if (informes_del_hilo != nullptr) informes_del_hilo->push_back({condicion, modulo});
}

thread_local std::vector<Informe> informes_recogidos;

}  // namespace

void Entorno::SetUp() {
  informes_recogidos.clear();
  informes_del_hilo = &informes_recogidos;
  informa_fallo_pon_receptor(receptor, nullptr);
  const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string nombre = std::string(info->test_suite_name()) + "." + info->name();
  for (char &c : nombre)
    if (c == '/') c = '_';
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
  informes_del_hilo = nullptr;
  if (!HasFailure()) std::filesystem::remove_all(carpeta_);
}

const std::vector<Informe> &Entorno::informes() const {
  return informes_recogidos;
}

size_t Entorno::cuenta_informes(const std::string &condicion) const {
  size_t n = 0;
  for (const auto &i : informes_recogidos)
    if (i.condicion == condicion) ++n;
  return n;
}

void Entorno::olvida_informes() {
  informes_recogidos.clear();
}

std::string Entorno::ruta(const std::string &nombre) const {
  return (carpeta_ / nombre).string();
}

std::string Entorno::escribe(const std::string &nombre, const std::string &contenido) const {
  std::string camino = ruta(nombre);
  std::ofstream salida(camino, std::ios::binary);
  salida.write(contenido.data(), static_cast<std::streamsize>(contenido.size()));
  EXPECT_TRUE(salida.good()) << camino;
  return camino;
}

std::string Entorno::lee(const std::string &camino) {
  std::ifstream entrada(camino, std::ios::binary);
  EXPECT_TRUE(entrada.good()) << "cannot read " << camino;
  std::ostringstream todo;
  todo << entrada.rdbuf();
  return todo.str();
}

std::string dato(const std::string &nombre) {
  return std::string(LENGUAWEB_DATOS_PRUEBA) + "/" + nombre;
}

}  // namespace pruebas
