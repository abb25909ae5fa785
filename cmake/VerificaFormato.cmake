# Fails when a C or C++ source of the tree does not match the project's .clang-format.
find_program(CLANG_FORMAT NAMES clang-format clang-format-14 REQUIRED)
file(GLOB_RECURSE fontes
  ${FONTES}/app/*.cpp ${FONTES}/app/*.h ${FONTES}/dialogs/*.cpp ${FONTES}/dialogs/*.h
  ${FONTES}/widgets/*.cpp ${FONTES}/widgets/*.h ${FONTES}/env/*.cpp ${FONTES}/env/*.h
  ${FONTES}/routing/*.cpp ${FONTES}/routing/*.h ${FONTES}/batch/*.cpp ${FONTES}/batch/*.h
  ${FONTES}/tests/*.cpp ${FONTES}/tests/*.h ${FONTES}/tests/*.c ${FONTES}/bench/*.cpp
  ${FONTES}/bench/*.h ${FONTES}/demo/*.cpp ${FONTES}/demo/*.c ${FONTES}/dist/*.cpp)
set(fora "")
foreach(f IN LISTS fontes)
  execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${f}
    RESULT_VARIABLE r OUTPUT_QUIET ERROR_QUIET)
  if(NOT r EQUAL 0)
    file(RELATIVE_PATH rel ${FONTES} ${f})
    list(APPEND fora ${rel})
  endif()
endforeach()
if(fora)
  list(JOIN fora "\n  " texto)
  message(FATAL_ERROR "Fora do .clang-format (clang-format -i corrige):\n  ${texto}")
endif()
list(LENGTH fontes n)
message(STATUS "${n} fontes no formato do .clang-format")
