# The man page: help2man from the program's --help and --version, with the headings in
# Portuguese (help2man would take them from a pt_BR locale, which a build machine seldom has),
# then gzipped as Debian keeps man pages.
#   cmake -DPROGRAMA=... -DINCLUI=... -DSAIDA=... -DDATA=... -P GeraManual.cmake
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
set(ENV{LC_ALL} "C.UTF-8")
execute_process(
  COMMAND help2man --no-info --no-discard-stderr --section=1 --locale=C.UTF-8
    "--name=configura as tabelas de roteamento por BIN do servidor de pagamentos"
    --include=${INCLUI} ${PROGRAMA}
  OUTPUT_VARIABLE pagina RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man falhou (${rc})")
endif()
string(REGEX REPLACE "\n\\.TH [^\n]*" "\n.TH CONFIGURADOR-ROTEAMENTO \"1\" \"${DATA}\" \"${VERSAO}\" \"Comandos do usuário\"" pagina "${pagina}")
foreach(par "NAME;NOME" "SYNOPSIS;SINOPSE" "DESCRIPTION;DESCRIÇÃO" "OPTIONS;OPÇÕES"
    "SEE ALSO;VEJA TAMBÉM")
  list(GET par 0 de)
  list(GET par 1 para)
  string(REPLACE "\n.SH ${de}\n" "\n.SH ${para}\n" pagina "${pagina}")
endforeach()
get_filename_component(sem_gz ${SAIDA} NAME_WLE)
get_filename_component(dir ${SAIDA} DIRECTORY)
file(WRITE ${dir}/${sem_gz} "${pagina}")
execute_process(COMMAND gzip -9nf ${dir}/${sem_gz} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip falhou (${rc})")
endif()
