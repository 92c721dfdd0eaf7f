# Runs soundsynth into a scratch folder and checks that the committed answer
# sounds are exactly what it writes, so a changed jingle is never left
# unregenerated. Expects SYNTH, ASSETS and SCRATCH.
file(REMOVE_RECURSE "${SCRATCH}")
execute_process(COMMAND "${SYNTH}" "${SCRATCH}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "soundsynth failed: ${failed}")
endif()
foreach(sound si1 si2 si3 si4 no)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E compare_files "${SCRATCH}/${sound}.wav" "${ASSETS}/${sound}.wav"
    RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${sound}.wav differs from what soundsynth writes: "
                        "build the regenerate_sounds target")
  endif()
endforeach()
