# What `cmake --install` places, in the usual places of a desktop system, and the Debian package
# CPack makes of it (`cpack -G DEB` in the build folder, or `tools/build.sh package`).
#
# Three install components: the unnamed one (the programs, the content, the desktop files, the
# manual pages), which both get; "Local", only for `cmake --install` (ScrivoOLE in the configured
# library folder with its header and development link, the licence); and "Debian", only for the
# package (ScrivoOLE in the multiarch folder, the copyright file and the Debian changelog).

set(VASORA_APP_ID org.vasora.Vasora)
set(VASORA_DATA_DIR ${CMAKE_INSTALL_DATADIR}/vasora)
# The documentation folder is named after the package, which is in lower case.
if(CMAKE_INSTALL_DOCDIR STREQUAL "${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME}")
    set(VASORA_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/vasora)
else()
    set(VASORA_DOC_DIR ${CMAKE_INSTALL_DOCDIR})
endif()
# The package installs into /usr, where Debian keeps libraries in the multiarch folder, as
# GNUInstallDirs would choose for that prefix. The program looks there too (documents/).
if(CMAKE_LIBRARY_ARCHITECTURE)
    set(VASORA_DEB_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE})
else()
    set(VASORA_DEB_LIBDIR lib)
endif()

# The programs.
foreach(program vasora vasora-cli vasora-rtf)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

# ScrivoOLE, with its public header for the rich-text control that loads it. The package has
# the run-time library only: nothing packaged builds against it.
install(TARGETS scrivoole
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Local
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Local)
install(FILES ${PROJECT_SOURCE_DIR}/scrivoole/ScrivoOLE.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ScrivoOLE COMPONENT Local)
install(TARGETS scrivoole LIBRARY DESTINATION ${VASORA_DEB_LIBDIR} COMPONENT Debian NAMELINK_SKIP
        EXCLUDE_FROM_ALL)

# The shipped documents, figures and parameter sets: the content a learner's own project folder
# is filled from on first start (shell/ProjectFolder.h). The empty "Lab Book" and "Parameters"
# folders make share/vasora a complete project folder, for a teacher who copies it for a course.
file(GLOB vasora_documents CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/content/*.rtf
     ${PROJECT_SOURCE_DIR}/content/Img*.jpg)
install(FILES ${vasora_documents} DESTINATION ${VASORA_DATA_DIR})
install(DIRECTORY "${PROJECT_SOURCE_DIR}/content/Parameters/" DESTINATION "${VASORA_DATA_DIR}/Parameters"
        FILES_MATCHING PATTERN "*.txt")
install(DIRECTORY DESTINATION "${VASORA_DATA_DIR}/Lab Book")

set(pkg ${PROJECT_SOURCE_DIR}/packaging)
# The desktop: launcher, icon, AppStream metainfo.
if(VASORA_GUI)
    install(FILES ${pkg}/${VASORA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${pkg}/${VASORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${pkg}/icons/${VASORA_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    foreach(size 16 22 24 32 48 64 128 256)
        install(FILES ${pkg}/icons/${size}x${size}/${VASORA_APP_ID}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${VASORA_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${VASORA_DOC_DIR} COMPONENT Local)

# Manual pages and the Debian changelog, compressed as Debian wants them: gzip -9 without the
# name and time of the file, so that the same page always gives the same bytes.
set(vasora_gzipped)
function(vasora_gzip source output)
    add_custom_command(OUTPUT ${output}
        COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${source} ${output}
        DEPENDS ${source} VERBATIM)
    set(vasora_gzipped ${vasora_gzipped} ${output} PARENT_SCOPE)
endfunction()
set(vasora_manpages)
foreach(program vasora vasora-cli vasora-rtf)
    if(TARGET ${program})
        vasora_gzip(${pkg}/man/${program}.1 ${CMAKE_BINARY_DIR}/packaging/${program}.1.gz)
        list(APPEND vasora_manpages ${CMAKE_BINARY_DIR}/packaging/${program}.1.gz)
    endif()
endforeach()
vasora_gzip(${pkg}/debian/changelog ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
add_custom_target(vasora_gzipped ALL DEPENDS ${vasora_gzipped})
install(FILES ${vasora_manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz ${pkg}/debian/copyright
        DESTINATION ${VASORA_DOC_DIR} COMPONENT Debian EXCLUDE_FROM_ALL)
install(FILES ${pkg}/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME vasora COMPONENT Debian EXCLUDE_FROM_ALL)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vasora)
set(CPACK_PACKAGE_VENDOR "Vasora")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "learn the physiology of the heart and the circulation")
# Lines of the description stay within the 80 columns of Debian's control file.
set(CPACK_PACKAGE_DESCRIPTION "A teaching program with a six-compartment model of the circulation, a lab
book of experiments, an information text and a strip chart; with vasora-cli,
the same model without windows, and ScrivoOLE, the embedding library of its
rich-text control.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vasora developers <vasora@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# One package of the unnamed and the Debian components.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Unspecified Debian)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
# The documents ask for Arial; Liberation Sans has its metrics, so their lines break as written.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# The rest of the dependencies are read from the programs' and the library's links by
# dpkg-shlibdeps (packaging/debian/depends.cmake), so they name exactly the Qt 6 runtime
# packages of the system the package is built on. The library's shlibs file and the ldconfig
# trigger are written here.
set(CPACK_PRE_BUILD_SCRIPTS ${pkg}/debian/depends.cmake)
file(WRITE ${CMAKE_BINARY_DIR}/packaging/shlibs
     "libScrivoOLE 0 vasora (>= ${PROJECT_VERSION})\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/packaging/shlibs ${pkg}/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
