# The Debian package of the program, built by CPack's DEB generator
# (make package writes build/kelvane_<version>_<arch>.deb).
#
# Besides what src/app and src/cli install (the program, its desktop entry and
# its icon, the command line) the package holds the type of .kelvane files
# (shared-mime-info; Debian's triggers update the databases), the AppStream metainfo, the
# manual pages and the Debian
# changelog, both compressed with gzip -9n as Debian wants them (no name, no
# time stamp: the same bytes at every build), and the machine-readable
# copyright file. The package is native: its version is the project version.

set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(package_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/kelvane)

find_program(KELVANE_GZIP gzip REQUIRED)
set(compressed_dir ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${compressed_dir})
set(compressed_files)
foreach(name IN ITEMS kelvane.1 kelvane-cli.1 changelog)
  set(output ${compressed_dir}/${name}.gz)
  add_custom_command(
    OUTPUT ${output}
    COMMAND sh -c "\"$0\" -9n -c \"$1\" > \"$2\"" ${KELVANE_GZIP} ${packaging_dir}/${name} ${output}
    DEPENDS ${packaging_dir}/${name}
    COMMENT "Compressing ${name}"
    VERBATIM)
  list(APPEND compressed_files ${output})
endforeach()
add_custom_target(package_files DEPENDS ${compressed_files})
# Whatever builds the program (make run, make install, make package) also
# makes the files its install rules name.
add_dependencies(kelvane package_files)
add_dependencies(kelvane-cli package_files)

# The programs as Debian hardens them: relocations read-only and bound at start.
target_link_options(kelvane PRIVATE -Wl,-z,relro,-z,now)
target_link_options(kelvane-cli PRIVATE -Wl,-z,relro,-z,now)

# A stripped install (cpack, cmake --install --strip) also drops the .comment
# section, the compiler's version strings, which strip keeps.
find_program(KELVANE_OBJCOPY NAMES ${CMAKE_OBJCOPY} objcopy REQUIRED)
foreach(program IN ITEMS kelvane kelvane-cli)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(
        COMMAND \"${KELVANE_OBJCOPY}\" --remove-section=.comment
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endforeach()

install(FILES ${compressed_dir}/kelvane.1.gz ${compressed_dir}/kelvane-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging_dir}/org.kelvane.kelvane.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The type of .kelvane files; the desktop entry names the program as its handler.
install(FILES ${packaging_dir}/kelvane-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME kelvane.xml)
install(FILES ${packaging_dir}/copyright ${compressed_dir}/changelog.gz
        DESTINATION ${package_doc_dir})

set(KELVANE_PACKAGE_MAINTAINER "Kelvane developers <kelvane@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for the state of stress at a point")
# Read here rather than named as CPACK_PACKAGE_DESCRIPTION_FILE, which cpack
# escapes for XML (an apostrophe would become &apos; in the control file).
set(description_file ${packaging_dir}/description)
file(READ ${description_file} CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${description_file})
set(CPACK_PACKAGE_CONTACT ${KELVANE_PACKAGE_MAINTAINER})
# The package installs to /usr whatever prefix the build tree has.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories the package makes are 0755 whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends: computed from the program's libraries by dpkg-shlibdeps, and the Qt
# platform plugins, which the program loads at start rather than links: without
# them (Debian's libqt6gui6 only recommends them) no window can open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (file and print dialogs, standard buttons) in the user's language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
# cpack installs into its staging folder without building first: make package
# and the package test build the program before they run it, and a test must
# not start a build of the whole tree.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
