# navegador.cmake - a page read as a browser reads it: its encoding found and decoded (ICU),
# then parsed (gumbo) and compared as a reader sees it, a translated page against its source
# too (the command's check). The real-site checker, the tests' oracle and the fuzz checks,
# which build without the command, use it as well.
if(NOT TARGET lenguaweb_cli_lectura)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LECTURA_GUMBO REQUIRED IMPORTED_TARGET gumbo)
  find_package(ICU REQUIRED COMPONENTS uc data)
  add_library(lenguaweb_cli_lectura STATIC
    ${CMAKE_CURRENT_LIST_DIR}/lectura_navegador.cpp
    ${CMAKE_CURRENT_LIST_DIR}/analisis_gumbo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/arbol_html.cpp
    ${CMAKE_CURRENT_LIST_DIR}/revision.cpp)
  target_include_directories(lenguaweb_cli_lectura PUBLIC ${CMAKE_CURRENT_LIST_DIR}
    PRIVATE ${PROJECT_SOURCE_DIR}/include)
  target_link_libraries(lenguaweb_cli_lectura PUBLIC companion
    PRIVATE reglas_html_compartidas companion_utilidades PkgConfig::LECTURA_GUMBO ICU::uc ICU::data lenguaweb_avisos)
endif()
