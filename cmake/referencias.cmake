# Makes the C++ table of character references (SALIDA) from htmlparser/referencias.tsv
# (ENTRADA): named references in the file's order (sorted, for a binary search), then what
# the numeric references to 0x80-0x9F stand for.
cmake_policy(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/datos.cmake)
set(con_nombre "")
set(numericas "")
set(cuenta 0)
macro(lee_referencia)
  set(nombre "${CMAKE_MATCH_1}")
  set(primero "0x${CMAKE_MATCH_2}")
  set(segundo "0")
  if(CMAKE_MATCH_4)
    set(segundo "0x${CMAKE_MATCH_4}")
  endif()
  if(nombre MATCHES "^#x([0-9A-F]+);$")
    string(APPEND numericas "    {0x${CMAKE_MATCH_1}, ${primero}},\n")
  else()
    string(APPEND con_nombre "    {\"${nombre}\", {${primero}, ${segundo}}},\n")
    math(EXPR cuenta "${cuenta} + 1")
  endif()
endmacro()
datos_recorre(ARCHIVO "${ENTRADA}" ACCION lee_referencia
  EXPRESION "^&([#A-Za-z0-9;]+)\t([0-9A-F]+)( ([0-9A-F]+))?$"
  DEVUELVE con_nombre numericas cuenta)
datos_escribe("${SALIDA}"
  "// Made by cmake/referencias.cmake from htmlparser/referencias.tsv; do not edit.\n"
  "inline constexpr referencia_con_nombre kReferenciasConNombre[] = {\n${con_nombre}};\n"
  "inline constexpr size_t kNumReferenciasConNombre = ${cuenta};\n"
  "inline constexpr windows_1252 kWindows1252[] = {\n${numericas}};\n")
