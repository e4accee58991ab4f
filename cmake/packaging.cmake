# What an installation holds, and the packages CPack makes of it from a build folder: on Linux
# a Debian package (cpack -G DEB), from the Windows build a zip (cpack -G ZIP).

set(BRUMO_APP_ID io.github.brumo.Brumo)
set(BRUMO_HOMEPAGE https://github.com/brumo/brumo)
set(BRUMO_SCREENSHOTS_URL https://raw.githubusercontent.com/brumo/brumo/main/docs)

set(CPACK_PACKAGE_NAME brumo)
set(CPACK_PACKAGE_VENDOR "the Brumo developers")
set(BRUMO_CONTACT "The Brumo developers <brumo@users.noreply.github.com>")
set(CPACK_PACKAGE_VERSION ${BRUMO_VERSION_TEXT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find and remove junk files from local disks")
# Stripped below as Debian strips, which plain strip is not.
set(CPACK_STRIP_FILES OFF)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
    # One folder to unpack anywhere: the program, its files beside it, the help where the
    # windows look for it, and a read-me.
    install(TARGETS brumo RUNTIME DESTINATION .)
    install(DIRECTORY docs/help/ DESTINATION docs/help)
    configure_file(packaging/windows-readme.txt.in README.txt @ONLY NEWLINE_STYLE CRLF)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME brumo-${BRUMO_VERSION_TEXT}-win64)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
    include(CPack)
    return()
endif()

install(TARGETS brumo RUNTIME DESTINATION bin)
install(CODE "execute_process(COMMAND ${CMAKE_STRIP} --remove-section=.comment
    --remove-section=.note --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/brumo\")")
install(FILES packaging/copyright DESTINATION share/doc/brumo)
install(DIRECTORY docs/help/ DESTINATION share/doc/brumo/help)
# A copy below the prefix it was built for, or below the one its package installs into, is an
# installed copy: its files belong in the user's data folder, whoever runs it.
if(NOT CPACK_PACKAGING_INSTALL_PREFIX)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
set_property(SOURCE src/app/program_files.cpp APPEND PROPERTY COMPILE_DEFINITIONS
    BRUMO_INSTALL_PREFIXES="${CMAKE_INSTALL_PREFIX}:${CPACK_PACKAGING_INSTALL_PREFIX}")

# The changelog names the version it ends with: a new version needs its entry.
file(STRINGS packaging/changelog latest LIMIT_COUNT 1)
if(NOT latest MATCHES "^brumo \\(${BRUMO_VERSION_TEXT}\\) ")
    message(FATAL_ERROR "packaging/changelog begins \"${latest}\": add an entry for ${BRUMO_VERSION_TEXT}")
endif()
add_custom_command(OUTPUT changelog.gz
    COMMAND gzip -9n < ${PROJECT_SOURCE_DIR}/packaging/changelog > changelog.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
add_custom_target(brumo_changelog ALL DEPENDS changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION share/doc/brumo)

add_custom_command(OUTPUT brumo.1.gz
    COMMAND gzip -9n < ${PROJECT_SOURCE_DIR}/docs/brumo.1 > brumo.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/brumo.1)
add_custom_target(brumo_man_page ALL DEPENDS brumo.1.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/brumo.1.gz DESTINATION share/man/man1)

if(BRUMO_UI)
    # The menu entry, its icon and the software centres' description.
    install(FILES src/ui/resources/brumo.desktop DESTINATION share/applications)
    install(FILES src/ui/resources/brumo.svg DESTINATION share/icons/hicolor/scalable/apps)
    if(BRUMO_PRERELEASE)
        set(BRUMO_RELEASE_TYPE development)
    else()
        set(BRUMO_RELEASE_TYPE stable)
    endif()
    set(BRUMO_METAINFO ${CMAKE_CURRENT_BINARY_DIR}/${BRUMO_APP_ID}.metainfo.xml)
    configure_file(packaging/brumo.metainfo.xml.in ${BRUMO_METAINFO} @ONLY)
    # The screenshots' addresses point into docs/ of the published sources.
    file(STRINGS packaging/brumo.metainfo.xml.in shots REGEX "<image>")
    foreach(shot IN LISTS shots)
        string(REGEX REPLACE ".*/([^/<]+)</image>.*" "\\1" shot "${shot}")
        if(NOT EXISTS ${PROJECT_SOURCE_DIR}/docs/${shot})
            message(FATAL_ERROR "packaging/brumo.metainfo.xml.in shows docs/${shot}, which is missing")
        endif()
    endforeach()
    install(FILES ${BRUMO_METAINFO} DESTINATION share/metainfo)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${BRUMO_CONTACT})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${BRUMO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Logs open in the desktop's default program, through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Brumo keeps an ordered list of junk file types: named rules with the
folders to search, wildcard specifications that mark junk, protections,
optional date, age and size restrictions, and a clean-up method (the
trash, a holding folder at the drive's root, or permanent deletion).

It counts the files a type selects, test-runs (lists what a clean-up
would remove without touching anything, which is how it always starts)
and cleans up, and writes a log of every run. A window and a command
line work on the same list.]=])
include(CPack)
