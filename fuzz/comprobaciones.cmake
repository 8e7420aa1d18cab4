# comprobaciones.cmake - the check code that the fuzz targets and their regression tests share.
include(${CMAKE_CURRENT_LIST_DIR}/../host/marcado.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/../host/po.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/../host/navegador/navegador.cmake)
if(NOT TARGET fuzz_comprobaciones)
  # The checks of the command's parts see include/ and the command's headers only; the
  # rest check the library's internals, through lenguaweb_interno.
  add_library(fuzz_comprobaciones_orden OBJECT
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_plegado.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_revision.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_po.cpp)
  target_include_directories(fuzz_comprobaciones_orden PRIVATE ${PROJECT_SOURCE_DIR}/include)
  target_link_libraries(fuzz_comprobaciones_orden PRIVATE lenguaweb_cli_marcado
    lenguaweb_cli_lectura lenguaweb_cli_po companion lenguaweb_avisos)
  add_library(fuzz_comprobaciones STATIC
    $<TARGET_OBJECTS:fuzz_comprobaciones_orden>
    ${CMAKE_CURRENT_LIST_DIR}/sesion.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_escaner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_link_externo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_pagina.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_enlace.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_registros.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_division.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comprueba_hostil.cpp)
  target_link_libraries(fuzz_comprobaciones PUBLIC contenido_vivo lenguaweb_interno apoyo_pruebas
    PRIVATE lenguaweb_cli_marcado lenguaweb_cli_lectura lenguaweb_cli_po lenguaweb_avisos)
endif()
