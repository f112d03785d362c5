# What the install and package checks share (include()d by both scripts).

# Runs a command; stops the check with its output when it fails, else leaves
# the output in `uscita`.
function(esegui descrizione)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE esito OUTPUT_VARIABLE uscita
                    ERROR_VARIABLE uscita)
    if(NOT esito EQUAL 0)
        message(FATAL_ERROR "${descrizione}: exit ${esito}\n${uscita}")
    endif()
    set(uscita "${uscita}" PARENT_SCOPE)
endfunction()

# The program at `percorso` answers --help with no display at all.
function(aiutoSenzaSchermo percorso)
    esegui("zelvo --help" ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
           --unset=QT_QPA_PLATFORM "${percorso}" --help)
    if(NOT uscita MATCHES "^Uso:  zelvo\n")
        message(FATAL_ERROR "${percorso} --help:\n${uscita}")
    endif()
endfunction()
