# What `cmake --install` puts in place, following the GNU install directories, and the Debian package CPack
# makes of it. Only the program and its desktop integration are installed: no tests, benchmarks, demo service,
# static libraries or build tools.
#
#   <libexecdir>/elumira-telmarin/elumira   the program; its updater belongs beside it, as "updater"
#   <bindir>/elumira                        a link to the program, for the menu and the shell
#   <datadir>/applications/<id>.desktop     the menu entry
#   <datadir>/icons/hicolor/<size>/apps/    the icon, rendered at each size, and as SVG in scalable/apps
#   <datadir>/metainfo/<id>.metainfo.xml    the AppStream description
#
# The program starts its updater from its own folder. Installed, that folder is the program's own one under
# libexec, so the updater is never looked for among the unrelated programs of bin/.

set(ELUMIRA_INSTALL_PROGRAMDIR "${CMAKE_INSTALL_LIBEXECDIR}/elumira-telmarin")

install(TARGETS elumira RUNTIME DESTINATION "${ELUMIRA_INSTALL_PROGRAMDIR}")

# The link in bin/ is relative, so the installed tree can be moved (a package unpacked anywhere still works).
file(RELATIVE_PATH program_from_bindir "/${CMAKE_INSTALL_BINDIR}" "/${ELUMIRA_INSTALL_PROGRAMDIR}/elumira")
set(program_link "${CMAKE_CURRENT_BINARY_DIR}/install-links/elumira")
file(MAKE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/install-links")
file(CREATE_LINK "${program_from_bindir}" "${program_link}" SYMBOLIC)
install(FILES "${program_link}" DESTINATION "${CMAKE_INSTALL_BINDIR}")

set(desktop_dir "${PROJECT_SOURCE_DIR}/resources/desktop")
install(FILES "${desktop_dir}/${ELUMIRA_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${desktop_dir}/${ELUMIRA_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${desktop_dir}/${ELUMIRA_APP_ID}.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install(DIRECTORY "${ELUMIRA_ICONS_DIR}/" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor"
    FILES_MATCHING PATTERN "${ELUMIRA_APP_ID}.png")

# The Debian package. Its file is elumira_<version>_<architecture>.deb; the package is elumira-telmarin.
find_program(DPKG_PROGRAM dpkg)
if(DPKG_PROGRAM)
    execute_process(COMMAND "${DPKG_PROGRAM}" --print-architecture
        OUTPUT_VARIABLE deb_architecture OUTPUT_STRIP_TRAILING_WHITESPACE)
else()
    set(deb_architecture amd64)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME elumira-telmarin)
set(CPACK_PACKAGE_VENDOR "Telmarin Regional Library")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop client of the Telmarin regional digital library")
set(CPACK_PACKAGE_DESCRIPTION
    "e-Lumira Telmarin lets members of the Telmarin regional digital library browse and search its catalogue, "
    "borrow up to three books and read them in a built-in PDF reader with highlights, notes and citations. "
    "A library account is needed.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "e-Lumira Telmarin developers <elumira@telmarin.example>")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://telmarin.example/")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE "${deb_architecture}")
set(CPACK_DEBIAN_FILE_NAME "elumira_${PROJECT_VERSION}_${deb_architecture}.deb")
# The libraries the program links are found by dpkg-shlibdeps; the browser engine's helper process and the
# SVG icon plugin that Qt loads at run time come with the Qt libraries' own packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
