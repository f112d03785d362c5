# The Debian package: `cpack -G DEB` in a Release build directory makes
# zelvo_<version>_<arch>.deb from the install rules (the program, its menu
# entry, its icons, its metadata and the copyright file). Its dependencies are
# not written here: dpkg-shlibdeps (package dpkg-dev) finds them from the
# shared libraries the program links. Building it needs, besides Qt, the
# header-only Boost.Math (libboost-math-dev): nothing of it is installed or
# linked, so the package depends on no Boost library.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Sviluppatori di Zelvo")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # zelvo_0.1.0_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Read at run time, so no library dependency names it: Qt's own Italian
# texts (the file dialogs'); without them those stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The identity every commit of the project is made under; a fork that
# packages its own build names itself here.
set(ZELVO_MANTENITORE "Zelvo maintainers <maintainers@users.noreply.c-seed-6b5fe871.example>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZELVO_MANTENITORE}")
# The first line is the synopsis, the rest the long description; CPack
# indents it and marks the empty lines as the control file wants.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "studio di una funzione reale y = f(x)")
set(CPACK_PACKAGE_DESCRIPTION [=[
Zelvo è un piccolo programma da scrivania per lo studio di una funzione reale
di una variabile reale, pensato per la scuola. Si scrive la funzione (nel
linguaggio delle espressioni di VBScript, come x^2-1 o Sin(x)*Exp(-x/5)),
l'intervallo a-b, il passo di calcolo e le scale dei due assi; Zelvo traccia
il grafico su una griglia punteggiata, trova la radice reale, il massimo e il
minimo esatti, calcola l'integrale definito ed elenca le tabelle di x e f(x),
anche con le derivate. Lo studio della funzione ne dà in una tabella zeri,
estremi, flessi, asintoti, salti e dove non è definita, con il quadro dei
segni, della crescenza e della concavità.

Grafici e tabelle si copiano o si salvano (PNG, CSV), e gli stessi risultati
si ottengono dalla riga di comando, senza finestra. Tutta l'interfaccia è in
italiano.]=])
include(CPack)
