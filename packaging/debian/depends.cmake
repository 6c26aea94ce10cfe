# Run by CPack once the package's files are staged and before the package is made
# (CPACK_PRE_BUILD_SCRIPTS, set in cmake/Install.cmake): the package's dependencies, read by
# dpkg-shlibdeps from the staged programs and library, go in front of the ones named by hand.
#
# CPack's own reading (CPACK_DEBIAN_PACKAGE_SHLIBDEPS) would also add maintainer scripts that run
# ldconfig; the package has the ldconfig trigger instead, as Debian asks.

# The components are staged in folders of their own below this one.
set(staged "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB_RECURSE candidates LIST_DIRECTORIES false "${staged}/*")
set(elves)
foreach(f IN LISTS candidates)
    if(IS_SYMLINK "${f}" OR NOT f MATCHES "/usr/(bin|lib)/")
        continue()
    endif()
    file(READ "${f}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
        list(APPEND elves "${f}")
    endif()
endforeach()
if(NOT elves)
    message(FATAL_ERROR "no programs or libraries staged in ${staged}")
endif()

# dpkg-shlibdeps wants the folder of a Debian source package to work in.
set(work "${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps")
file(MAKE_DIRECTORY "${work}/debian")
file(WRITE "${work}/debian/control" "")
execute_process(
    COMMAND dpkg-shlibdeps -O --ignore-missing-info ${elves}
    WORKING_DIRECTORY "${work}"
    OUTPUT_VARIABLE found ERROR_VARIABLE problems RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT found MATCHES "shlibs:Depends=([^\n]*)")
    message(FATAL_ERROR "dpkg-shlibdeps failed (${status}): ${problems}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}, ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
message(STATUS "Depends: ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
