# Writes OUT, a file for CTest that registers one test a group of harness.ReaderTests, from
# the groups the compiled harness lists (ReaderTests --list: a name, then the JVM options the
# group needs), so that the groups are listed in ReaderTests.java only. Run at build time:
#   cmake -D JAVA=... -D CLASSES=<harness classes> -D "RUN_ARGS=<template>;<stubs>;<books>;<screens>"
#         -D FIXTURE=<fixture the tests need> -D OUT=<file> -P group_tests.cmake

execute_process(
  COMMAND ${JAVA} -Djava.awt.headless=true -cp ${CLASSES} harness.ReaderTests --list
  OUTPUT_VARIABLE listed
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR listed STREQUAL "")
  message(FATAL_ERROR "harness.ReaderTests --list failed (${status})")
endif()

set(run_args "")
foreach(arg IN LISTS RUN_ARGS)
  string(APPEND run_args " [==[${arg}]==]")
endforeach()

string(REPLACE "\n" ";" lines "${listed}")
set(text "")
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    continue()
  endif()
  separate_arguments(words UNIX_COMMAND "${line}")
  list(POP_FRONT words group)
  set(options "")
  foreach(option IN LISTS words)
    string(APPEND options " [==[${option}]==]")
  endforeach()
  string(APPEND text
    "add_test([==[reader.harness.${group}]==] [==[${JAVA}]==] -Djava.awt.headless=true${options}"
    " -cp [==[${CLASSES}]==] harness.ReaderTests${run_args} ${group})\n"
    "set_tests_properties([==[reader.harness.${group}]==] PROPERTIES FIXTURES_REQUIRED ${FIXTURE})\n")
endforeach()
file(WRITE ${OUT} "${text}")
