# instalacion.cmake - installs the build into a scratch prefix and builds the README's host
# against it twice, through pkg-config and through find_package(lenguaweb); both must run.
# Run as: cmake -DCOMPILACION=<build dir> -DCARPETA=<scratch dir> -DCC=<C compiler>
#   -DBIBLIOTECAS=<lib dir under the prefix> -DGENERADOR=<generator> -DFUENTE=<anfitrion.c>
#   [-DBANDERAS=<compile and link flags>] -P instalacion.cmake
function(ejecuta)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE estado OUTPUT_VARIABLE salida ERROR_VARIABLE errores)
  if(NOT estado EQUAL 0)
    list(JOIN ARGN " " orden)
    message(FATAL_ERROR "${orden} failed (${estado}):\n${salida}\n${errores}")
  endif()
  set(salida "${salida}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${CARPETA})
set(prefijo ${CARPETA}/prefijo)
ejecuta(${CMAKE_COMMAND} --install ${COMPILACION} --prefix ${prefijo})
separate_arguments(banderas UNIX_COMMAND "${BANDERAS}")

# Only public headers are installed: nothing internal, nothing that needs ICU.
file(GLOB_RECURSE cabeceras RELATIVE ${prefijo}/include ${prefijo}/include/*)
list(SORT cabeceras)
set(publicas lenguaweb/companion/cadenas.h lenguaweb/companion/codificacion.h
  lenguaweb/companion/companion.h lenguaweb/companion/conversion.h lenguaweb/companion/ficheros.h
  lenguaweb/companion/flujos.h
  lenguaweb/companion/informe.h lenguaweb/companion/listas.h lenguaweb/companion/memoria.h
  lenguaweb/companion/motor.h lenguaweb/companion/opciones.h lenguaweb/companion/tipos.h
  lenguaweb/lenguaweb.h)
if(NOT cabeceras STREQUAL publicas)
  message(FATAL_ERROR "installed headers:\n  ${cabeceras}\nexpected:\n  ${publicas}")
endif()

# Through pkg-config.
set(ENV{PKG_CONFIG_PATH} ${prefijo}/${BIBLIOTECAS}/pkgconfig)
ejecuta(pkg-config --cflags --libs lenguaweb)
separate_arguments(con_pkg_config UNIX_COMMAND "${salida}")
ejecuta(${CC} ${banderas} ${FUENTE} ${con_pkg_config} -o ${CARPETA}/anfitrion_pkg_config)

# Through the CMake package.
file(WRITE ${CARPETA}/paquete/CMakeLists.txt "cmake_minimum_required(VERSION 3.25)
project(anfitrion C)
find_package(lenguaweb 1 REQUIRED)
add_executable(anfitrion_paquete ${FUENTE})
target_link_libraries(anfitrion_paquete PRIVATE lenguaweb::lenguaweb)
")
ejecuta(${CMAKE_COMMAND} -S ${CARPETA}/paquete -B ${CARPETA}/paquete/compilacion -G ${GENERADOR}
  -DCMAKE_C_COMPILER=${CC} -DCMAKE_PREFIX_PATH=${prefijo} "-DCMAKE_C_FLAGS=${BANDERAS}"
  "-DCMAKE_EXE_LINKER_FLAGS=${BANDERAS}")
ejecuta(${CMAKE_COMMAND} --build ${CARPETA}/paquete/compilacion)

# Both hosts list the page's texts and write it back with each text in brackets.
file(WRITE ${CARPETA}/p.html "<title>Hi</title><p>One <b>two</b></p>")
foreach(anfitrion anfitrion_pkg_config paquete/compilacion/anfitrion_paquete)
  file(REMOVE ${CARPETA}/fin.html)
  ejecuta(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefijo}/${BIBLIOTECAS}
    LENGUAWEB_UTILIDADES=${CARPETA} ${CARPETA}/${anfitrion} ${CARPETA}/p.html ${CARPETA}/fin.html)
  file(READ ${CARPETA}/fin.html escrita)
  if(NOT salida STREQUAL "TITULO\tHi\nTEXTO_1\tOne <b>two\n" OR
     NOT escrita STREQUAL "<title>[Hi]</title><p>[One <b>two]</b></p>")
    message(FATAL_ERROR "${anfitrion} gave:\n${salida}and wrote:\n${escrita}")
  endif()
endforeach()
message(STATUS "installed, and the host built and ran through pkg-config and find_package")
