# Installing Tovin as a desktop program (icons in the hicolor theme, AppStream metainfo, the
# examples, the package's documentation) and the Debian package made from that installation:
#
#   cmake -S . -B build-package -G Ninja -DCMAKE_INSTALL_PREFIX=/usr
#   ninja -C build-package package
#
# scripts/package does that. The program, its data folder, the desktop entry, the MIME type and
# the scalable icon are installed by the rules beside the executable in CMakeLists.txt.
if(NOT TOVIN_BUILD_GUI)
    return()
endif()

# Bump with project(VERSION): the metainfo's release and the package's changelog name it.
set(TOVIN_RELEASE_DATE "2026-12-07")
set(TOVIN_HOMEPAGE "https://verrimond.github.io/tovin/")
set(TOVIN_PACKAGE_MAINTAINER "Verrimond <tovin@verrimond.github.io>"
    CACHE STRING "Maintainer named in the Debian package and its changelog")

set(TOVIN_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package-files)
set(TOVIN_APPSTREAM_ID com.verrimond.tovin)

# ---------------------------------------------------------------- examples
# The project files name the installed folder, so they open in place; the build products a run
# leaves in a source tree are not shipped.
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tovin/examples
        PATTERN ".gitignore" EXCLUDE PATTERN "*.class" EXCLUDE PATTERN "*.jar" EXCLUDE
        PATTERN "manifest.txt" EXCLUDE)

# ---------------------------------------------------------------- icons
# PNG renderings of the program's picture in the theme's usual sizes. Without rsvg-convert the
# committed renderings stand in for the sizes they cover; the scalable picture is always there.
find_program(TOVIN_RSVG_CONVERT rsvg-convert)
set(TOVIN_ICON_SOURCE ${CMAKE_SOURCE_DIR}/resources/icons/tovin.svg)
set(TOVIN_ICON_FILES)
if(TOVIN_RSVG_CONVERT)
    set(TOVIN_ICON_SIZES 16 22 24 32 48 64 128 256)
else()
    message(STATUS "rsvg-convert not found: installing only the committed icon sizes")
    set(TOVIN_ICON_SIZES 16 32 48 64)
endif()
foreach(size IN LISTS TOVIN_ICON_SIZES)
    set(folder ${TOVIN_PACKAGE_FILES}/icons/${size}x${size}/apps)
    if(TOVIN_RSVG_CONVERT)
        add_custom_command(OUTPUT ${folder}/tovin.png
            COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
            COMMAND ${TOVIN_RSVG_CONVERT} -w ${size} -h ${size} -o ${folder}/tovin.png
                    ${TOVIN_ICON_SOURCE}
            DEPENDS ${TOVIN_ICON_SOURCE}
            COMMENT "Rendering the ${size}x${size} icon")
    else()
        add_custom_command(OUTPUT ${folder}/tovin.png
            COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/resources/icons/tovin-${size}.png
                    ${folder}/tovin.png
            DEPENDS ${CMAKE_SOURCE_DIR}/resources/icons/tovin-${size}.png)
    endif()
    list(APPEND TOVIN_ICON_FILES ${folder}/tovin.png)
    install(FILES ${folder}/tovin.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# The project file's type shows the project picture in file managers.
install(FILES resources/icons/project.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-tovin-project.svg)

# ---------------------------------------------------------------- metainfo, changelog, manual
configure_file(packaging/${TOVIN_APPSTREAM_ID}.metainfo.xml.in
               ${TOVIN_PACKAGE_FILES}/${TOVIN_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${TOVIN_PACKAGE_FILES}/${TOVIN_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C date -u -R -d "${TOVIN_RELEASE_DATE}"
                OUTPUT_VARIABLE TOVIN_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(packaging/changelog.in ${TOVIN_PACKAGE_FILES}/changelog @ONLY)
configure_file(packaging/tovin.1.in ${TOVIN_PACKAGE_FILES}/tovin.1 @ONLY)

# Debian wants the changelog and the manual page compressed, without a time stamp in the gzip
# header so that two builds give the same bytes.
find_program(TOVIN_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${TOVIN_PACKAGE_FILES}/changelog.gz
    COMMAND ${TOVIN_GZIP} -9 -n -c ${TOVIN_PACKAGE_FILES}/changelog > ${TOVIN_PACKAGE_FILES}/changelog.gz
    DEPENDS ${TOVIN_PACKAGE_FILES}/changelog)
add_custom_command(OUTPUT ${TOVIN_PACKAGE_FILES}/tovin.1.gz
    COMMAND ${TOVIN_GZIP} -9 -n -c ${TOVIN_PACKAGE_FILES}/tovin.1 > ${TOVIN_PACKAGE_FILES}/tovin.1.gz
    DEPENDS ${TOVIN_PACKAGE_FILES}/tovin.1)
add_custom_target(tovin_package_files ALL
    DEPENDS ${TOVIN_ICON_FILES} ${TOVIN_PACKAGE_FILES}/changelog.gz ${TOVIN_PACKAGE_FILES}/tovin.1.gz)

install(FILES ${TOVIN_PACKAGE_FILES}/changelog.gz packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tovin)
install(FILES ${TOVIN_PACKAGE_FILES}/tovin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# ---------------------------------------------------------------- Debian package
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovin)
set(CPACK_PACKAGE_VENDOR Verrimond)
set(CPACK_PACKAGE_CONTACT "${TOVIN_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lightweight development environment for Java")
set(CPACK_PACKAGE_DESCRIPTION
    "Tovin edits Java, HTML, XML (Ant build files) and Jython sources in
syntax-colouring editors, keeps the files of a program together in a project,
and builds, runs, debugs, documents and packages it with the JDK's tools, Ant
and Jython. Every tool's output is captured in the Process Window; a
double-click on a compiler message or a stack-trace line opens the file at
that line.")
# The package installs where the program looks for its data (DataFolder).
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TOVIN_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Java engine reads and writes its protocol with Gson, which it finds where Debian puts it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgoogle-gson-java")
# The tools Tovin drives: a JDK to build and run anything, Ant for build files, a terminal for
# "Run with Console"; Jython, the JDK's documentation and the servlet API (which a new servlet
# project is compiled against) for the commands that use them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "default-jdk, ant, xterm | x-terminal-emulator")
# Run Tests: the test launcher and JUnit 5 (JUnit 4 tests need junit4 as well).
string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", junit5")
# The help command opens openjdk-17-doc's pages by their path, so the package is named rather
# than default-jdk-doc (lintian warns about that). The JDK's sources give the documentation
# shown on hover and the files Go to Definition opens for the JDK's own classes.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "jython, openjdk-17-doc, openjdk-17-source, libservlet-api-java")
include(CPack)
