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

# Under `prefisso`, the manual page as `man zelvo` shows it (man-db, looking
# only there) names every option of the program at `percorso` --help and its
# three exit statuses; the guide is in share/doc/zelvo with every picture it
# shows.
function(manualeEGuida prefisso percorso)
    find_program(man man)
    if(NOT man)
        message(FATAL_ERROR "man is missing: install the Debian package man-db")
    endif()
    set(pagina "${prefisso}/share/man/man1/zelvo.1.gz")
    if(NOT EXISTS "${pagina}")
        message(FATAL_ERROR "not installed: ${pagina}")
    endif()
    esegui("man zelvo" ${CMAKE_COMMAND} -E env "MANPATH=${prefisso}/share/man" MANPAGER=cat
           PAGER=cat MANWIDTH=80 LC_ALL=C.UTF-8 --unset=MANOPT "${man}" zelvo)
    string(REGEX REPLACE "[ \n]+" " " manuale "${uscita}")
    esegui("zelvo --help" ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 "${percorso}" --help)
    string(REGEX MATCHALL "(--[a-z][-a-z]*|-[abh][ ,])" opzioni "${uscita}")
    list(REMOVE_DUPLICATES opzioni)
    list(LENGTH opzioni quante)
    if(quante LESS 10)
        message(FATAL_ERROR "zelvo --help names only ${quante} options: ${opzioni}")
    endif()
    foreach(attesa "ZELVO(1)" "NOME zelvo - studio di una funzione" ${opzioni}
            "STATO D'USCITA 0 Tutto è andato bene. 1 "
            "un risultato non si può calcolare" " 2 La riga di comando è sbagliata")
        string(FIND "${manuale}" "${attesa}" dove)
        if(dove EQUAL -1)
            message(FATAL_ERROR "man zelvo has no \"${attesa}\":\n${manuale}")
        endif()
    endforeach()

    set(guida "${prefisso}/share/doc/zelvo/guida.md")
    if(NOT EXISTS "${guida}")
        message(FATAL_ERROR "not installed: ${guida}")
    endif()
    file(READ "${guida}" testo)
    # (name.png) after the alt text; no brackets kept, as CMake lists do not split in them.
    string(REGEX MATCHALL "\\(([^)/ ]+\\.png)\\)" immagini "${testo}")
    if(NOT immagini)
        message(FATAL_ERROR "${guida} shows no picture")
    endif()
    foreach(immagine ${immagini})
        string(REGEX REPLACE "^\\((.*)\\)$" "\\1" immagine "${immagine}")
        if(NOT EXISTS "${prefisso}/share/doc/zelvo/${immagine}")
            message(FATAL_ERROR "the guide shows ${immagine}, not installed beside it")
        endif()
    endforeach()
endfunction()
