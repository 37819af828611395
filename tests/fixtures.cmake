# Writes OUT, the ctest tests of the test program EXE: for each line
# "LABEL FILTER" of LABELS, one test per fixture of the program's tests the
# gtest filter takes, running them in one process in WORKDIR. A test is
# named after its fixture, and after its label too where the fixture's
# tests go to more than one.
#   cmake -D EXE=... -D LABELS=... -D OUT=... -D WORKDIR=... -P fixtures.cmake
file(STRINGS "${LABELS}" groups)
set(entries "")  # "LABEL FIXTURE" in the order found
foreach(group IN LISTS groups)
  string(FIND "${group}" " " space)
  string(SUBSTRING "${group}" 0 ${space} label)
  math(EXPR space "${space} + 1")
  string(SUBSTRING "${group}" ${space} -1 filter)
  execute_process(COMMAND "${EXE}" --gtest_list_tests "--gtest_filter=${filter}"
                  WORKING_DIRECTORY "${WORKDIR}" TIMEOUT 60
                  OUTPUT_VARIABLE listing RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${EXE} --gtest_list_tests failed (${status}): ${errors}")
  endif()
  # "Fixture." lines, each followed by "  Test" lines; "  # ..." notes after a name.
  string(REPLACE ";" "\\;" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "  #.*" "" line "${line}")
    if(line MATCHES "^([^ ]+)\\.$")
      set(fixture "${CMAKE_MATCH_1}")
      list(APPEND entries "${label} ${fixture}")
    elseif(line MATCHES "^  ([^ ]+)$")
      list(APPEND "tests_${label}_${fixture}" "${fixture}.${CMAKE_MATCH_1}")
    endif()
  endforeach()
endforeach()

set(script "")
foreach(entry IN LISTS entries)
  string(REPLACE " " ";" entry "${entry}")
  list(GET entry 0 label)
  list(GET entry 1 fixture)
  set(name "${fixture}")
  foreach(other IN LISTS entries)
    if(other MATCHES " ${fixture}$" AND NOT other STREQUAL "${label} ${fixture}")
      set(name "${fixture}.${label}")
    endif()
  endforeach()
  list(JOIN "tests_${label}_${fixture}" ":" filter)
  string(APPEND script "add_test([==[${name}]==] \"${EXE}\" [==[--gtest_filter=${filter}]==])\n"
         "set_tests_properties([==[${name}]==] PROPERTIES LABELS ${label}"
         " ENVIRONMENT QT_QPA_PLATFORM=offscreen WORKING_DIRECTORY \"${WORKDIR}\")\n")
endforeach()
file(WRITE "${OUT}" "${script}")
