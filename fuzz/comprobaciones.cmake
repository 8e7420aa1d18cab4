# comprobaciones.cmake - the check code that the fuzz targets and their regression tests share.
include(${CMAKE_CURRENT_LIST_DIR}/../host/marcado.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/../host/navegador/navegador.cmake)
if(NOT TARGET fuzz_comprobaciones)
  add_library(fuzz_comprobaciones STATIC
    ${CMAKE_CURRENT_LIST_DIR}/sesion.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_escaner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_link_externo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_pagina.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_enlace.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_registros.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_division.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_hostil.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_plegado.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_revision.cpp)
  target_link_libraries(fuzz_comprobaciones PUBLIC contenido_vivo lenguaweb_interno apoyo_pruebas
    PRIVATE lenguaweb_cli_marcado lenguaweb_cli_lectura lenguaweb_avisos)
endif()
