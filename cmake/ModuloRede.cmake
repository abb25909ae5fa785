# Network modules for tests, the demo and benchmarks: real shared libraries named se*.bpl that
# export ObtemInformacoes. Built plain (no sanitizers): the module-query helper loads them.
#
#   adiciona_modulo_rede(<target> NOME <file name without suffix> CODIGO <code> MASCARA <mask>
#                        [FONTE <C source>] [DIRETORIO <output dir>] [SUFIXO <.bpl>])
#
# The default source answers CODIGO and MASCARA (compile definitions), so many modules are one
# call each:  foreach(i RANGE 1 50) adiciona_modulo_rede(mod${i} NOME seRede${i} CODIGO ${i}
# MASCARA 7 DIRETORIO ${dir}) endforeach()
set(MODULO_REDE_FONTE_PADRAO ${CMAKE_CURRENT_LIST_DIR}/../tests/modules/modulo_rede.c)
set(MODULO_REDE_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/..)

function(adiciona_modulo_rede alvo)
  cmake_parse_arguments(M "" "NOME;CODIGO;MASCARA;FONTE;DIRETORIO;SUFIXO" "" ${ARGN})
  if(NOT M_FONTE)
    set(M_FONTE ${MODULO_REDE_FONTE_PADRAO})
  endif()
  if(NOT M_DIRETORIO)
    set(M_DIRETORIO ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  if(NOT M_SUFIXO)
    set(M_SUFIXO ".bpl")
  endif()
  if(NOT DEFINED M_CODIGO)
    set(M_CODIGO 0)
  endif()
  if(NOT DEFINED M_MASCARA)
    set(M_MASCARA 0)
  endif()
  add_library(${alvo} MODULE ${M_FONTE})
  target_include_directories(${alvo} PRIVATE ${MODULO_REDE_INCLUDE})
  target_compile_definitions(${alvo} PRIVATE MODULO_CODIGO=${M_CODIGO} MODULO_MASCARA=${M_MASCARA})
  # Directory-wide options (the sanitizers) are replaced, not inherited.
  set_target_properties(${alvo} PROPERTIES
    PREFIX "" SUFFIX "${M_SUFIXO}" OUTPUT_NAME "${M_NOME}"
    LIBRARY_OUTPUT_DIRECTORY "${M_DIRETORIO}"
    COMPILE_OPTIONS "-Wall;-Wextra" LINK_OPTIONS "" AUTOMOC OFF)
endfunction()
