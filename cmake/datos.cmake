# The one way the generators read a data file: a line that starts with '#' is a comment;
# every other line must match EXPRESION, or the build stops naming the file and the line.
# For each line, the macro ACCION runs with CMAKE_MATCH_<n> set; the variables it fills,
# named in DEVUELVE, are handed back to the caller.
function(datos_recorre)
  cmake_parse_arguments(PARSE_ARGV 0 datos "" "ARCHIVO;EXPRESION;ACCION" "DEVUELVE")
  file(STRINGS "${datos_ARCHIVO}" datos_lineas ENCODING UTF-8)
  foreach(linea IN LISTS datos_lineas)
    if(linea MATCHES "^#")
      continue()
    endif()
    if(NOT linea MATCHES "${datos_EXPRESION}")
      message(FATAL_ERROR "${datos_ARCHIVO}: unreadable line: ${linea}")
    endif()
    cmake_language(CALL ${datos_ACCION})
  endforeach()
  foreach(variable IN LISTS datos_DEVUELVE)
    set(${variable} "${${variable}}" PARENT_SCOPE)
  endforeach()
endfunction()

# Writes a generated file (the arguments after its name, joined) only when its text changes,
# so that what includes it is not built again for nothing. The arguments are read one by one,
# as ARGN would split the ';' of the C++ they hold.
function(datos_escribe salida)
  set(texto "")
  math(EXPR ultimo "${ARGC} - 1")
  foreach(i RANGE 1 ${ultimo})
    string(APPEND texto "${ARGV${i}}")
  endforeach()
  file(WRITE "${salida}.tmp" "${texto}")
  file(COPY_FILE "${salida}.tmp" "${salida}" ONLY_IF_DIFFERENT)
  file(REMOVE "${salida}.tmp")
endfunction()
