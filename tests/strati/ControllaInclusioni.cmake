# Checks that every file of the program's layers includes only headers of its
# own layer or of the layers below it:
#
#   engine  <-  plot  <-  analysis, tables (siblings)  <-  ui
#
# and that nothing outside ui/ and tests/ includes Qt. Test code (tests/,
# bench/, fuzz/) is a layer above all of them, so no library file may include
# it either.
#
# The engine is seen through a narrow door: plot/, analysis/, tables/, ui/
# and bench/ include only its public headers, and those include no other
# engine header, so its programs, rows and lanes reach no file outside it.
#
#   cmake -DRADICE=<source tree> -P ControllaInclusioni.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT RADICE)
    message(FATAL_ERROR "RADICE (the source tree to check) is not set")
endif()

# The folders each layer may include. A folder not listed here is none of the
# program's layers; including it from a layer is always wrong.
set(strati engine plot analysis tables ui)
set(consentiti_engine engine)
set(consentiti_plot engine plot)
set(consentiti_analysis engine plot analysis)
set(consentiti_tables engine plot tables)
set(consentiti_ui engine plot analysis tables ui)
set(cartelle_del_progetto ${strati} tests bench fuzz tools docs)
set(senza_qt engine plot analysis tables bench fuzz)
# The benchmarks that open the real windows are the only files outside ui/
# and tests/ that need Qt.
set(qt_ammesso bench/bench_form2.cpp bench/bench_formstudio.cpp)
# The engine's public headers: the function, its sweep, its errors, and the
# text of numbers. Every other engine header is the engine's own.
set(engine_pubblico
    engine/Ascisse.h engine/Errori.h engine/Funzione.h engine/SpazzaFunzione.h
    engine/TestoNumero.h engine/Valutazione.h)
set(fuori_dal_motore plot analysis tables ui bench)

# The folder of the project that an include names, or "" for a header from
# outside the project (the standard library, Qt, a system library), and the
# header's path in the project.
function(cartella_inclusa file incluso risultato percorso_incluso)
    string(REGEX MATCH "^[^/]+" prima "${incluso}")
    if(prima IN_LIST cartelle_del_progetto)
        set(${risultato} "${prima}" PARENT_SCOPE)
        set(${percorso_incluso} "${incluso}" PARENT_SCOPE)
        return()
    endif()
    # A path relative to the including file ("Valutazione.h", "../ui/Form2.h"),
    # which may not exist: a system header found next to the file only stays
    # in its folder.
    get_filename_component(cartella "${file}" DIRECTORY)
    get_filename_component(percorso "${cartella}/${incluso}" ABSOLUTE)
    file(RELATIVE_PATH relativo "${RADICE}" "${percorso}")
    string(REGEX MATCH "^[^/]+" prima "${relativo}")
    if(prima IN_LIST cartelle_del_progetto)
        set(${risultato} "${prima}" PARENT_SCOPE)
        set(${percorso_incluso} "${relativo}" PARENT_SCOPE)
    else()
        set(${risultato} "" PARENT_SCOPE)
        set(${percorso_incluso} "" PARENT_SCOPE)
    endif()
endfunction()

set(violazioni "")
foreach(strato IN LISTS strati senza_qt)
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${RADICE}"
         "${RADICE}/${strato}/*.h" "${RADICE}/${strato}/*.cpp")
    list(SORT files)
    foreach(relativo IN LISTS files)
        if(relativo IN_LIST visti)
            continue()
        endif()
        list(APPEND visti "${relativo}")
        file(STRINGS "${RADICE}/${relativo}" righe REGEX "^[ \t]*#[ \t]*include")
        foreach(riga IN LISTS righe)
            if(NOT riga MATCHES "#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
                continue()
            endif()
            set(incluso "${CMAKE_MATCH_2}")
            set(tra "${CMAKE_MATCH_1}")
            if(strato IN_LIST senza_qt AND NOT relativo IN_LIST qt_ammesso
               AND CMAKE_MATCH_1 STREQUAL "<"
               AND incluso MATCHES "^(Q|qt|q[a-z0-9_]+\\.h$)")
                list(APPEND violazioni
                     "${relativo}: includes <${incluso}>: only ui/ and tests/ may use Qt")
            endif()
            cartella_inclusa("${RADICE}/${relativo}" "${incluso}" cartella percorso)
            # <cstddef> resolves next to the file too: only a quoted name or
            # one under engine/ is an engine header.
            if(cartella STREQUAL "engine" AND NOT percorso IN_LIST engine_pubblico
               AND (tra STREQUAL "\"" OR incluso MATCHES "^engine/")
               AND (strato IN_LIST fuori_dal_motore OR relativo IN_LIST engine_pubblico))
                string(REPLACE ";" ", " pubblici "${engine_pubblico}")
                list(APPEND violazioni
                     "${relativo}: includes \"${incluso}\": outside engine/ and in its public headers, only ${pubblici}")
            endif()
            if(NOT strato IN_LIST strati)
                continue()
            endif()
            if(cartella AND NOT cartella IN_LIST consentiti_${strato})
                string(REPLACE ";" ", " ammessi "${consentiti_${strato}}")
                list(APPEND violazioni
                     "${relativo}: includes \"${incluso}\": ${strato}/ may include only ${ammessi}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(violazioni)
    list(LENGTH violazioni quante)
    list(JOIN violazioni "\n  " elenco)
    message(FATAL_ERROR "${quante} include(s) against the layers:\n  ${elenco}")
endif()
list(LENGTH visti quanti)
message(STATUS "${quanti} files of the layers include only what lies below them")
