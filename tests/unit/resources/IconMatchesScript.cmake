# Draws the icon afresh and compares it with the committed calvant.ico.
# Arguments: PYTHON, SCRIPT (draw_icon.py), ICON (calvant.ico), OUTPUT (scratch file).
execute_process(COMMAND ${PYTHON} ${SCRIPT} ${OUTPUT} RESULT_VARIABLE drawn)
if(NOT drawn EQUAL 0)
  message(FATAL_ERROR "${SCRIPT} failed: ${drawn}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${ICON} ${OUTPUT} RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${ICON} is not what ${SCRIPT} draws: run the script and commit its output")
endif()
