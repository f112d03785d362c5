# cmake -DSORGENTI=... -DCARTELLA=... -DGENERATORE=... -P VerificaPacchetto.cmake
# Builds the program in Release in CARTELLA (kept between runs, so a second
# run only rebuilds what changed), makes the Debian package with cpack and
# reads it back with dpkg-deb: its fields, its files, and the program it holds.
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/Comuni.cmake)

foreach(nome dpkg-deb dpkg-shlibdeps dpkg)
    find_program(trovato_${nome} ${nome})
    if(NOT trovato_${nome})
        message(FATAL_ERROR "${nome} is missing: install the Debian package dpkg-dev")
    endif()
endforeach()

set(build "${CARTELLA}/build")
esegui("configure" ${CMAKE_COMMAND} -S "${SORGENTI}" -B "${build}" -G "${GENERATORE}"
       -DCMAKE_BUILD_TYPE=Release -DZELVO_BUILD_TESTS=OFF -DZELVO_BUILD_BENCH=OFF)
esegui("build" ${CMAKE_COMMAND} --build "${build}" -j 2)
file(GLOB vecchi "${build}/*.deb")
if(vecchi)
    file(REMOVE ${vecchi})
endif()
esegui("cpack" ${CMAKE_COMMAND} -E chdir "${build}" cpack -G DEB)

file(STRINGS "${build}/CMakeCache.txt" versione REGEX "^CMAKE_PROJECT_VERSION:")
string(REGEX REPLACE "^[^=]*=" "" versione "${versione}")
esegui("dpkg --print-architecture" ${trovato_dpkg} --print-architecture)
string(STRIP "${uscita}" architettura)
set(deb "${build}/zelvo_${versione}_${architettura}.deb")
if(NOT EXISTS "${deb}")
    file(GLOB fatti "${build}/*.deb")
    message(FATAL_ERROR "no ${deb}; cpack made: ${fatti}")
endif()

# The control fields.
esegui("dpkg-deb -I" ${trovato_dpkg-deb} -I "${deb}")
set(controllo "${uscita}")
foreach(attesa
        "\n Package: zelvo\n"
        "\n Version: ${versione}\n"
        "\n Architecture: ${architettura}\n"
        "\n Section: math\n"
        "\n Recommends: qt6-translations-l10n\n"
        "\n Maintainer: Zelvo maintainers <maintainers@users.noreply.c-seed-6b5fe871.example>\n"
        "\n Description: studio di una funzione reale y = f(x)\n  Zelvo è un piccolo programma"
        "\n  .\n  Grafici e tabelle si copiano")
    string(FIND "${controllo}" "${attesa}" dove)
    if(dove EQUAL -1)
        message(FATAL_ERROR "dpkg-deb -I has no \"${attesa}\":\n${controllo}")
    endif()
endforeach()
# Depends comes from dpkg-shlibdeps: every library the program links, each
# with the least version its symbols need; the Qt modules and the C++ runtime
# must be there.
if(NOT controllo MATCHES "\n Depends: ([^\n]*)\n")
    message(FATAL_ERROR "dpkg-deb -I has no Depends:\n${controllo}")
endif()
set(dipendenze "${CMAKE_MATCH_1}")
foreach(libreria libc6 libstdc\\+\\+6 libqt6core6 libqt6gui6 libqt6widgets6)
    if(NOT dipendenze MATCHES "(^|, )${libreria} \\(>= [^)]+\\)(,|$)")
        message(FATAL_ERROR "Depends has no versioned ${libreria}: ${dipendenze}")
    endif()
endforeach()

# The files: the program, what the desktop needs, the manual page and the
# guide, all under /usr.
esegui("dpkg-deb -c" ${trovato_dpkg-deb} -c "${deb}")
set(elenco "${uscita}")
set(id it.zelvo.Zelvo)
foreach(file
        "-rwxr-xr-x root/root [0-9]+ [^ ]+ [^ ]+ ./usr/bin/zelvo"
        "./usr/share/applications/${id}.desktop"
        "./usr/share/metainfo/${id}.metainfo.xml"
        "./usr/share/icons/hicolor/48x48/apps/${id}.png"
        "./usr/share/icons/hicolor/128x128/apps/${id}.png"
        "./usr/share/icons/hicolor/256x256/apps/${id}.png"
        "./usr/share/icons/hicolor/scalable/apps/${id}.svg"
        "./usr/share/doc/zelvo/copyright"
        "./usr/share/doc/zelvo/guida.md"
        "./usr/share/man/man1/zelvo.1.gz")
    string(REPLACE "." "\\." modello "${file}")
    string(REPLACE " " " +" modello "${modello}") # dpkg-deb pads its columns
    if(NOT elenco MATCHES "(^|\n)[^\n]*${modello}\n")
        message(FATAL_ERROR "dpkg-deb -c has no ${file}:\n${elenco}")
    endif()
endforeach()
if(elenco MATCHES "\\./usr/(include|lib)/")
    message(FATAL_ERROR "the package holds build products beyond the program:\n${elenco}")
endif()

# The program unpacked from the package runs, with no display; `man zelvo`
# reads the package's manual page; the guide has its pictures beside it.
set(estratto "${CARTELLA}/estratto")
file(REMOVE_RECURSE "${estratto}")
esegui("dpkg-deb -x" ${trovato_dpkg-deb} -x "${deb}" "${estratto}")
aiutoSenzaSchermo("${estratto}/usr/bin/zelvo")
manualeEGuida("${estratto}/usr" "${estratto}/usr/bin/zelvo")
file(READ "${estratto}/usr/share/doc/zelvo/copyright" copyright)
if(NOT copyright MATCHES "\nLicense: LicenseRef-proprietary\n")
    message(FATAL_ERROR "the copyright file states no licence:\n${copyright}")
endif()
