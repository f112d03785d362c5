# Looks for test doubles and test-only code in the symbols of static
# libraries (nm -C). By default every archive must be free of them: they are
# the libraries the program links. With -DDEVONO_ESSERCI=ON every archive
# must hold at least one of them, which shows that the check finds them.
#
#   cmake -DNM=<nm> -DARCHIVI="a.a|b.a" -DNOMI="name|name" [-DDEVONO_ESSERCI=ON]
#         -P ControllaSimboli.cmake

cmake_minimum_required(VERSION 3.25)

string(REPLACE "|" ";" archivi "${ARCHIVI}")
string(REPLACE "|" ";" nomi "${NOMI}")
if(NOT NM OR NOT archivi OR NOT nomi)
    message(FATAL_ERROR "NM, ARCHIVI and NOMI must all be set")
endif()

set(errori "")
foreach(archivio IN LISTS archivi)
    if(NOT EXISTS "${archivio}")
        message(FATAL_ERROR "${archivio} is missing: build it before running the tests")
    endif()
    execute_process(COMMAND "${NM}" -C "${archivio}" RESULT_VARIABLE esito
                    OUTPUT_VARIABLE simboli ERROR_VARIABLE errore)
    if(NOT esito EQUAL 0)
        message(FATAL_ERROR "${NM} -C ${archivio} failed: ${errore}")
    endif()
    get_filename_component(nome_archivio "${archivio}" NAME)
    set(trovati "")
    foreach(nome IN LISTS nomi)
        string(FIND "${simboli}" "${nome}" dove)
        if(NOT dove EQUAL -1)
            list(APPEND trovati "${nome}")
        endif()
    endforeach()
    if(DEVONO_ESSERCI AND NOT trovati)
        list(APPEND errori "${nome_archivio}: none of the test-only names found")
    elseif(NOT DEVONO_ESSERCI AND trovati)
        list(JOIN trovati ", " elenco)
        list(APPEND errori "${nome_archivio} holds test-only code: ${elenco}")
    endif()
endforeach()

if(errori)
    list(JOIN errori "\n  " elenco)
    message(FATAL_ERROR "${elenco}")
endif()
list(LENGTH archivi quanti)
message(STATUS "${quanti} archive(s) checked")
