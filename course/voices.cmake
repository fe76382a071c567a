# The voice of every course sentence, made at build time into the program folder's onsei/.
# make_voices.sh synthesises only the sentences whose text changed, so rerunning it is cheap;
# this rule decides when it runs at all.
find_program(YOMIRIN_BASH bash REQUIRED)
set(course_voice "festival:cmu_us_slt_arctic_hts:1.3")   # the voice the course was reviewed in
set(YOMIRIN_VOICE ${course_voice} CACHE STRING
  "Voice of the course sentences as engine:voice:stretch (see course/make_voices.sh)")

set(voices_script ${CMAKE_CURRENT_SOURCE_DIR}/make_voices.sh)
# Our pronunciations for festival and the texts the voice reads instead of a sentence's own.
set(voice_lexicon ${CMAKE_CURRENT_SOURCE_DIR}/lexicon.scm ${CMAKE_CURRENT_SOURCE_DIR}/voice_spellings.txt)
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
  DEPENDS ${course_files} ${voices_script} ${voices_inputs} ${voice_lexicon}
  COMMENT "Making the voices of the course sentences"
  VERBATIM)
add_custom_target(yomirin_voices ALL DEPENDS ${voices_stamp})

# What festival says in every sentence, word by word, at the top of the build folder: a changed
# sentence or pronunciation shows there at once. The reviewed copy is course/pronunciations.txt,
# which the target update_pronunciations replaces with it and a test compares with a fresh one.
# A word that neither festival's lexicon nor ours knows fails the build.
if(YOMIRIN_VOICE MATCHES "^festival:")
  set(pronunciations ${CMAKE_BINARY_DIR}/pronunciations.txt)
  set(pronunciations_stamp ${CMAKE_CURRENT_BINARY_DIR}/pronunciations.stamp)
  add_custom_command(OUTPUT ${pronunciations_stamp}
    BYPRODUCTS ${pronunciations}
    COMMAND ${CMAKE_COMMAND} -E env YOMIRIN_VOICE=${YOMIRIN_VOICE}
            ${YOMIRIN_BASH} ${voices_script} --transcript ${YOMIRIN_COURSE_TEXT_DIR} ${pronunciations}
    COMMAND ${CMAKE_COMMAND} -E touch ${pronunciations_stamp}
    DEPENDS ${course_files} ${voices_script} ${voices_inputs} ${voice_lexicon}
    COMMENT "Writing what the voice says in every sentence (pronunciations.txt)"
    VERBATIM)
  add_custom_target(yomirin_pronunciations ALL DEPENDS ${pronunciations_stamp})
  add_custom_target(update_pronunciations
    COMMAND ${CMAKE_COMMAND} -E copy ${pronunciations} ${CMAKE_CURRENT_SOURCE_DIR}/pronunciations.txt
    DEPENDS ${pronunciations_stamp}
    COMMENT "Replacing course/pronunciations.txt with what the voice now says"
    VERBATIM)
endif()

if(BUILD_TESTING)
  # In three parts, each a few dozen runs of the script, which can run side by side.
  foreach(part runs words files)
    add_test(NAME make_voices_${part}
      COMMAND ${YOMIRIN_BASH} ${CMAKE_CURRENT_SOURCE_DIR}/test_make_voices.sh ${part})
  endforeach()
  # Every voice the build made, and the chime beside them: one loudness, no clipping, no burst at
  # the head, speech within 30 ms.
  add_test(NAME voice_levels COMMAND ${YOMIRIN_BASH} ${voices_script} --check ${YOMIRIN_APP_DIR}/onsei)
  # A tree that builds with the course's voice has just written what it says; another makes it anew.
  if(YOMIRIN_VOICE STREQUAL course_voice)
    set(built_transcript ${pronunciations})
  endif()
  add_test(NAME voice_pronunciations
    COMMAND ${YOMIRIN_BASH} ${CMAKE_CURRENT_SOURCE_DIR}/test_pronunciations.sh ${built_transcript})
endif()
