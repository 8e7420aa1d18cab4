# exportaciones.cmake - fails unless the shared library defines exactly its thirteen functions.
# Run as: cmake -DNM=<nm> -DBIBLIOTECA=<library> -P exportaciones.cmake
set(esperadas
  htmlparser_lee_siguiente_tag
  htmlparser_lee_siguiente_tag_u
  htmlparser_obtener_cualquier_link_externo
  lenguatxt_traduce_textos
  lenguaweb_crea
  lenguaweb_dame_textos_a_trducir
  lenguaweb_destruye
  lenguaweb_preprocesa_links
  lenguaweb_reconstruye_fichero_html
  lenguaweb_version_generacion
  tablalink_destruye
  tablalink_graba
  tablalink_lee)

execute_process(COMMAND ${NM} -D --defined-only ${BIBLIOTECA}
  OUTPUT_VARIABLE salida RESULT_VARIABLE estado ERROR_VARIABLE errores)
if(NOT estado EQUAL 0)
  message(FATAL_ERROR "nm failed on ${BIBLIOTECA}: ${errores}")
endif()

# Every defined symbol counts except absolute ones ('A'), which are version nodes, not
# code or data. Functions must be code ('T', or 'i' for an indirect function).
set(definidas "")
set(no_funciones "")
string(REPLACE "\n" ";" lineas "${salida}")
foreach(linea IN LISTS lineas)
  if(linea MATCHES "^[0-9a-fA-F]* *([A-Za-z]) ([^ @]+)")
    set(clase "${CMAKE_MATCH_1}")
    set(nombre "${CMAKE_MATCH_2}")
    if(clase STREQUAL "A")
      continue()
    endif()
    list(APPEND definidas "${nombre}")
    if(NOT clase MATCHES "^[Ti]$")
      list(APPEND no_funciones "${nombre} (${clase})")
    endif()
  endif()
endforeach()

set(sobran ${definidas})
list(REMOVE_ITEM sobran ${esperadas})
set(faltan ${esperadas})
if(definidas)
  list(REMOVE_ITEM faltan ${definidas})
endif()
list(FILTER no_funciones INCLUDE REGEX "^(htmlparser|lenguatxt|lenguaweb|tablalink)_")

if(sobran OR faltan OR no_funciones)
  list(JOIN sobran "\n  " sobran)
  list(JOIN faltan "\n  " faltan)
  list(JOIN no_funciones "\n  " no_funciones)
  message(FATAL_ERROR "${BIBLIOTECA} does not export exactly its thirteen functions.\n"
    "Exported but not expected:\n  ${sobran}\nExpected but missing:\n  ${faltan}\n"
    "Expected but not code:\n  ${no_funciones}")
endif()
message(STATUS "exactly the thirteen functions are exported")
