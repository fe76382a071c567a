# The voice of every course sentence, made at build time into the program folder's onsei/.
# make_voices.sh synthesises only the sentences whose text changed, so rerunning it is cheap;
# this rule decides when it runs at all.
find_program(YOMIRIN_BASH bash REQUIRED)
set(YOMIRIN_VOICE "festival:cmu_us_slt_arctic_hts:1.3" CACHE STRING
  "Voice of the course sentences as engine:voice:stretch (see course/make_voices.sh)")

set(voices_script ${CMAKE_CURRENT_SOURCE_DIR}/make_voices.sh)
set(voices_stamp ${CMAKE_CURRENT_BINARY_DIR}/voices.stamp)
# Rewritten only when its content changes: a course file added or removed (the glob above is
# re-run at build time) or another voice chosen must rerun the script even though no dependency
# got newer.
set(voices_inputs ${CMAKE_CURRENT_BINARY_DIR}/voices_inputs.txt)
list(JOIN course_files "\n" course_file_lines)
file(CONFIGURE OUTPUT ${voices_inputs}
  CONTENT "voice=${YOMIRIN_VOICE}\n${course_file_lines}\n" @ONLY)

add_custom_command(OUTPUT ${voices_stamp}
  COMMAND ${CMAKE_COMMAND} -E env YOMIRIN_VOICE=${YOMIRIN_VOICE}
          ${YOMIRIN_BASH} ${voices_script} ${YOMIRIN_COURSE_TEXT_DIR} ${YOMIRIN_APP_DIR}/onsei
  COMMAND ${CMAKE_COMMAND} -E touch ${voices_stamp}
  DEPENDS ${course_files} ${voices_script} ${voices_inputs}
  COMMENT "Making the voices of the course sentences"
  VERBATIM)
add_custom_target(yomirin_voices ALL DEPENDS ${voices_stamp})

if(BUILD_TESTING)
  add_test(NAME make_voices COMMAND ${YOMIRIN_BASH} ${CMAKE_CURRENT_SOURCE_DIR}/test_make_voices.sh)
endif()
