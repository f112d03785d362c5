# The include check on small trees, each with one include planted against the
# layers: the check must refuse each one, naming the file and the include,
# and must accept a tree whose includes all go downward.
#
#   cmake -DCONTROLLO=<ControllaInclusioni.cmake> -DLAVORO=<scratch dir> -P ProvaInclusioni.cmake

cmake_minimum_required(VERSION 3.25)

# Writes a tree of files ("path|include|include...") under `radice`.
function(scrivi_albero radice)
    file(REMOVE_RECURSE "${radice}")
    foreach(voce IN LISTS ARGN)
        string(REPLACE "|" ";" parti "${voce}")
        list(POP_FRONT parti percorso)
        set(testo "")
        foreach(incluso IN LISTS parti)
            string(APPEND testo "#include ${incluso}\n")
        endforeach()
        file(WRITE "${radice}/${percorso}" "${testo}")
    endforeach()
endfunction()

function(controlla radice esito uscita)
    execute_process(COMMAND "${CMAKE_COMMAND}" -DRADICE=${radice} -P "${CONTROLLO}"
                    RESULT_VARIABLE r OUTPUT_VARIABLE o ERROR_VARIABLE e)
    set(${esito} "${r}" PARENT_SCOPE)
    set(${uscita} "${o}${e}" PARENT_SCOPE)
endfunction()

# Every include goes downward or stays in its folder.
set(pulito
    "engine/Funzione.h|\"engine/Valutazione.h\"|<vector>"
    "engine/Funzione.cpp|\"Funzione.h\"|\"Programma.h\"|\"engine/Valore.h\""
    "plot/Calcolo.cpp|\"plot/Calcolo.h\"|\"engine/Funzione.h\""
    "plot/Calcolo.h"
    "analysis/Radice.cpp|\"plot/Spazzata.h\"|\"../engine/Funzione.h\""
    "tables/Elenco.cpp|\"plot/Spazzata.h\"|\"tables/Elenco.h\""
    "tables/Elenco.h"
    "ui/Form2.cpp|\"analysis/Radice.h\"|\"tables/Elenco.h\"|<QWidget>|<QtCore/qglobal.h>"
    "tests/plot/CalcoloTest.cpp|\"tests/support/SuperficieRegistrata.h\"|<QImage>"
    "bench/bench_form2.cpp|\"ui/Form2.h\"|<QApplication>")
scrivi_albero("${LAVORO}/pulito" ${pulito})
controlla("${LAVORO}/pulito" esito uscita)
if(NOT esito EQUAL 0)
    message(FATAL_ERROR "a tree with downward includes only was refused:\n${uscita}")
endif()

# Each case: the file planted into the clean tree, then what the check must say.
set(casi
    "plot/Spazzata.h|\"analysis/Radice.h\""
        "plot/Spazzata.h: includes \"analysis/Radice.h\": plot/ may include only engine, plot"
    "analysis/Estremi.cpp|\"tables/Elenco.h\""
        "analysis/ may include only engine, plot, analysis"
    "tables/Riempi.cpp|\"analysis/Estremi.h\""
        "tables/ may include only engine, plot, tables"
    "engine/Sweep.h|\"plot/Calcolo.h\""
        "engine/Sweep.h: includes \"plot/Calcolo.h\": engine/ may include only engine"
    "analysis/Integrale.cpp|<ui/Form2.h>"
        "analysis/ may include only engine, plot, analysis"
    "tables/Testo.cpp|\"../ui/Form2.h\""
        "includes \"../ui/Form2.h\": tables/ may include"
    "plot/Calcolo2.cpp|\"tests/support/SuperficieRegistrata.h\""
        "plot/ may include only engine, plot"
    "plot/Superficie.cpp|<QImage>"
        "plot/Superficie.cpp: includes <QImage>: only ui/ and tests/ may use Qt"
    "engine/Numero.cpp|<qmath.h>"
        "engine/Numero.cpp: includes <qmath.h>: only ui/ and tests/ may use Qt"
    "fuzz/fuzz.cpp|<QString>"
        "fuzz/fuzz.cpp: includes <QString>: only ui/ and tests/ may use Qt"
    "bench/bench_calcolo.cpp|<QImage>"
        "bench/bench_calcolo.cpp: includes <QImage>: only ui/ and tests/ may use Qt"
    # the engine's internals, from outside it or through a public header
    "plot/Calcolo3.cpp|\"engine/Programma.h\""
        "plot/Calcolo3.cpp: includes \"engine/Programma.h\": outside engine/"
    "ui/Form3.cpp|\"../engine/Corsie.h\""
        "ui/Form3.cpp: includes \"../engine/Corsie.h\": outside engine/"
    "bench/bench_engine.cpp|<engine/Operazioni.h>"
        "bench/bench_engine.cpp: includes \"engine/Operazioni.h\": outside engine/"
    "engine/Funzione.h|\"ScriptControl.h\""
        "engine/Funzione.h: includes \"ScriptControl.h\": outside engine/ and in its public headers")
while(casi)
    list(POP_FRONT casi piantato atteso)
    scrivi_albero("${LAVORO}/piantato" ${pulito} "${piantato}")
    controlla("${LAVORO}/piantato" esito uscita)
    if(esito EQUAL 0)
        message(FATAL_ERROR "the check accepted a planted include: ${piantato}")
    endif()
    string(FIND "${uscita}" "${atteso}" dove)
    if(dove EQUAL -1)
        message(FATAL_ERROR "planted ${piantato}: expected \"${atteso}\" in:\n${uscita}")
    endif()
endwhile()
message(STATUS "every planted include was refused")
