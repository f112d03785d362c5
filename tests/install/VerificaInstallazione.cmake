# cmake -DCARTELLA_BUILD=... -DCONFIGURAZIONE=... -DPREFISSO=... -P VerificaInstallazione.cmake
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/Comuni.cmake)

function(programma variabile nome pacchetto)
    find_program(${variabile} ${nome})
    if(NOT ${variabile})
        message(FATAL_ERROR "${nome} is missing: install the Debian package ${pacchetto}")
    endif()
endfunction()

file(REMOVE_RECURSE "${PREFISSO}")
esegui("cmake --install" ${CMAKE_COMMAND} --install "${CARTELLA_BUILD}"
       --config "${CONFIGURAZIONE}" --prefix "${PREFISSO}")

set(id it.zelvo.Zelvo)
set(desktop "${PREFISSO}/share/applications/${id}.desktop")
set(metainfo "${PREFISSO}/share/metainfo/${id}.metainfo.xml")
foreach(file bin/zelvo share/icons/hicolor/scalable/apps/${id}.svg)
    if(NOT EXISTS "${PREFISSO}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

# Each PNG is as large as the folder it sits in says (width and height from
# the IHDR chunk, bytes 16 to 23).
foreach(lato 48 128 256)
    set(png "${PREFISSO}/share/icons/hicolor/${lato}x${lato}/apps/${id}.png")
    if(NOT EXISTS "${png}")
        message(FATAL_ERROR "not installed: ${png}")
    endif()
    file(READ "${png}" intestazione OFFSET 16 LIMIT 8 HEX)
    math(EXPR atteso "${lato}" OUTPUT_FORMAT HEXADECIMAL)
    string(REGEX REPLACE "^0x" "" atteso "${atteso}")
    string(LENGTH "${atteso}" cifre)
    math(EXPR zeri "8 - ${cifre}")
    string(REPEAT "0" ${zeri} riempimento)
    if(NOT intestazione STREQUAL "${riempimento}${atteso}${riempimento}${atteso}")
        message(FATAL_ERROR "${png} is not ${lato}x${lato}: ${intestazione}")
    endif()
endforeach()

# The desktop entry: nothing to say, not even a hint (one main category:
# Zelvo is a program for school, among its mathematics).
programma(validaDesktop desktop-file-validate desktop-file-utils)
esegui("desktop-file-validate" ${validaDesktop} "${desktop}")
if(NOT uscita STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate:\n${uscita}")
endif()
file(STRINGS "${desktop}" righe)
foreach(attesa "Name=Zelvo" "Categories=Education;Math;" "Exec=zelvo" "Icon=${id}")
    if(NOT attesa IN_LIST righe)
        message(FATAL_ERROR "${desktop} has no line ${attesa}")
    endif()
endforeach()

programma(appstreamcli appstreamcli appstream)
esegui("appstreamcli validate" ${appstreamcli} validate --no-net "${metainfo}")

# The installed program, with no display at all, its manual page and its guide.
aiutoSenzaSchermo("${PREFISSO}/bin/zelvo")
manualeEGuida("${PREFISSO}" "${PREFISSO}/bin/zelvo")
