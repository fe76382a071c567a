# Read by CTest as it starts: adds a test for each GoogleTest suite of ${program} (set by the file
# yomirin_gtest_suites writes), which runs that suite's tests in one process.
if(NOT EXISTS "${program}")
  add_test("${program}" "${program}")   # not built: shows as a test that could not run
  return()
endif()
execute_process(COMMAND "${program}" --gtest_list_tests
  OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status TIMEOUT 600)
if(NOT status EQUAL 0)
  add_test("${program} --gtest_list_tests" "${program}" --gtest_list_tests)   # fails, with its output
  return()
endif()
# A suite's line is its name and a full stop, unindented; its tests' lines below it are indented.
string(REGEX MATCHALL "(^|\n)[A-Za-z_][A-Za-z0-9_/]*\\.( |\n|$)" suite_lines "${listing}")
foreach(line IN LISTS suite_lines)
  string(REGEX REPLACE "^\n?([^.]*)\\..*$" "\\1" suite "${line}")
  add_test("${suite}" "${program}" "--gtest_filter=${suite}.*" --gtest_brief=1)
  set_tests_properties("${suite}" PROPERTIES LABELS "${labels}" ENVIRONMENT "${environment}")
endforeach()
