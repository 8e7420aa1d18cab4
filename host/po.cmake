# po.cmake - the command's reading and writing of PO files, shared with the fuzz checks,
# which build without the rest of the command.
include(${CMAKE_CURRENT_LIST_DIR}/marcado.cmake)
if(NOT TARGET lenguaweb_cli_po)
  find_path(GETTEXTPO_INCLUDE_DIR gettext-po.h REQUIRED)
  find_library(GETTEXTPO_LIBRARY gettextpo REQUIRED)
  add_library(lenguaweb_cli_po STATIC
    ${CMAKE_CURRENT_LIST_DIR}/po.cpp
    ${CMAKE_CURRENT_LIST_DIR}/idiomas.cpp
    ${CMAKE_CURRENT_LIST_DIR}/informes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/salida.cpp)
  target_include_directories(lenguaweb_cli_po PUBLIC ${CMAKE_CURRENT_LIST_DIR}
    PRIVATE ${GETTEXTPO_INCLUDE_DIR})
  target_link_libraries(lenguaweb_cli_po PUBLIC lenguaweb companion lenguaweb_cli_marcado
    PRIVATE companion_utilidades ICU::uc ${GETTEXTPO_LIBRARY} lenguaweb_avisos)
  target_compile_definitions(lenguaweb_cli_po PRIVATE LENGUAWEB_VERSION_TEXTO="${PROJECT_VERSION}")
endif()
