# marcado.cmake - the command's reading of a text's markup (its tag check, the parts not to
# be translated, the folding of msgids), shared with the fuzz checks, which build without
# the rest of the command.
if(NOT TARGET lenguaweb_cli_marcado)
  add_library(lenguaweb_cli_marcado STATIC
    ${CMAKE_CURRENT_LIST_DIR}/marcado.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sin_traducir.cpp
    ${CMAKE_CURRENT_LIST_DIR}/plegado.cpp)
  target_include_directories(lenguaweb_cli_marcado PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(lenguaweb_cli_marcado PUBLIC companion
    PRIVATE referencias_html elementos_html ICU::uc lenguaweb_avisos)
endif()
