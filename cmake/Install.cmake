# What `cmake --install` places, in the usual places of a desktop system, and the Debian package
# CPack makes of it (`cpack -G DEB` in the build folder, or `tools/build.sh package`).

set(VASORA_APP_ID org.vasora.Vasora)
set(VASORA_DATA_DIR ${CMAKE_INSTALL_DATADIR}/vasora)

# The programs.
foreach(program vasora vasora-cli vasora-rtf)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

# ScrivoOLE, with its public header for the rich-text control that loads it.
install(TARGETS scrivoole
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/scrivoole/ScrivoOLE.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ScrivoOLE)

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

# The desktop: launcher, icon, AppStream metainfo.
if(VASORA_GUI)
    set(pkg ${PROJECT_SOURCE_DIR}/packaging)
    install(FILES ${pkg}/${VASORA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${pkg}/${VASORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${pkg}/icons/${VASORA_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    foreach(size 48 128 256)
        install(FILES ${pkg}/icons/${size}x${size}/${VASORA_APP_ID}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package. Its dependencies are read from the programs' and the library's links
# (dpkg-shlibdeps), so they name exactly the Qt 6 runtime packages of the system it is built on.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vasora)
set(CPACK_PACKAGE_VENDOR "Vasora")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "learn the physiology of the heart and the circulation")
set(CPACK_PACKAGE_DESCRIPTION
    "A teaching program with a six-compartment model of the circulation, a lab book of\nexperiments, an information text and a strip chart; with vasora-cli, the same model\nwithout windows, and ScrivoOLE, the embedding library of its rich-text control.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vasora developers <vasora@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The library's own shlibs file and the ldconfig trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
