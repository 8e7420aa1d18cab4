# pruebas.cmake - the fuzz checks run as tests over every seed and every kept finding
# (included by tests/CMakeLists.txt; builds with any compiler, without libFuzzer).
include(${CMAKE_CURRENT_LIST_DIR}/comprobaciones.cmake)
add_executable(pruebas_fuzz ${CMAKE_CURRENT_LIST_DIR}/pruebas/regresiones.cpp)
target_link_libraries(pruebas_fuzz PRIVATE fuzz_comprobaciones pruebas_comun GTest::gtest_main)
target_compile_definitions(pruebas_fuzz PRIVATE LENGUAWEB_CARPETA_FUZZ="${CMAKE_CURRENT_LIST_DIR}")
gtest_discover_tests(pruebas_fuzz TEST_PREFIX "fuzz." DISCOVERY_TIMEOUT 60)
