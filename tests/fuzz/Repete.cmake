# Included by tests/CMakeLists.txt: each fuzz target tests/fuzz/fuzz_<alvo>.cpp, built with the
# normal compiler and a plain main(), replays its kept corpus tests/fuzz/corpus/<alvo>/ as the
# ctest test fuzz_<alvo>. The long fuzzing with libFuzzer is `make fuzz` (tests/fuzz/CMakeLists.txt).
file(GLOB ALVOS_FUZZ CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/fuzz_*.cpp)
foreach(fonte IN LISTS ALVOS_FUZZ)
  get_filename_component(nome ${fonte} NAME_WE)
  string(REGEX REPLACE "^fuzz_" "" alvo ${nome})
  add_executable(repete_${alvo} ${fonte} ${CMAKE_CURRENT_LIST_DIR}/repete_corpus.cpp)
  target_link_libraries(repete_${alvo} PRIVATE roteamento_nucleo)
  target_compile_definitions(repete_${alvo} PRIVATE
    FUZZ_MODULOS="${CMAKE_CURRENT_BINARY_DIR}/modules")
  foreach(modulo modulo_teste_a modulo_teste_b modulo_teste_c modulo_teste_tecban modulo_teste_outra)
    if(TARGET ${modulo})
      add_dependencies(repete_${alvo} ${modulo})
    endif()
  endforeach()
  add_test(NAME ${nome} COMMAND repete_${alvo} ${CMAKE_CURRENT_LIST_DIR}/corpus/${alvo})
  set_tests_properties(${nome} PROPERTIES ENVIRONMENT "${AMBIENTE_TESTES}" TIMEOUT 300)
endforeach()
