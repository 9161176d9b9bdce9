# The Linux package: `make package` turns the build into a .deb with CPack. The game lives
# under the games prefix (/usr/games, /usr/lib/games, /usr/share/games); it reads its room
# sounds from its own folder, where links lead to them.
set(VELDRISA_VERSION 1.0.0)
set(VELDRISA_PACKAGING ${CMAKE_CURRENT_LIST_DIR}/../packaging)
set(VELDRISA_STAGE ${CMAKE_BINARY_DIR}/package-files)
# Two packages: what is installed without a component is the game's (cmake/package-server.cmake).
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME game)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS veldrisa RUNTIME DESTINATION lib/games/veldrisa)
install(FILES ${SOUND_FILES} DESTINATION share/games/veldrisa)

# Links made here and installed as links: /usr/games/veldrisa and each sound beside the game.
file(MAKE_DIRECTORY ${VELDRISA_STAGE}/links/games ${VELDRISA_STAGE}/links/sounds)
file(CREATE_LINK ../lib/games/veldrisa/veldrisa ${VELDRISA_STAGE}/links/games/veldrisa SYMBOLIC)
install(FILES ${VELDRISA_STAGE}/links/games/veldrisa DESTINATION games)
foreach(sound ${SOUND_FILES})
  get_filename_component(name "${sound}" NAME)
  file(CREATE_LINK "../../../share/games/veldrisa/${name}" "${VELDRISA_STAGE}/links/sounds/${name}" SYMBOLIC)
  install(FILES "${VELDRISA_STAGE}/links/sounds/${name}" DESTINATION lib/games/veldrisa)
endforeach()

# Manual pages and the changelog go compressed, as Debian wants them.
find_program(GZIP gzip REQUIRED)
set(compressed)
foreach(pair "veldrisa.6|man/veldrisa.6.gz" "veldrisa.es.6|man-es/veldrisa.6.gz" "changelog|doc/changelog.gz"
             "server/veldrisa-server.8|man/veldrisa-server.8.gz")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 target)
  get_filename_component(folder "${VELDRISA_STAGE}/${target}" DIRECTORY)
  add_custom_command(OUTPUT ${VELDRISA_STAGE}/${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${GZIP} -9n -c ${VELDRISA_PACKAGING}/${source} > ${VELDRISA_STAGE}/${target}
    DEPENDS ${VELDRISA_PACKAGING}/${source} VERBATIM)
  list(APPEND compressed ${VELDRISA_STAGE}/${target})
endforeach()
add_custom_target(veldrisa_package_files ALL DEPENDS ${compressed})

install(FILES ${VELDRISA_STAGE}/man/veldrisa.6.gz DESTINATION share/man/man6)
install(FILES ${VELDRISA_STAGE}/man-es/veldrisa.6.gz DESTINATION share/man/es/man6)
install(FILES ${VELDRISA_STAGE}/doc/changelog.gz ${VELDRISA_PACKAGING}/copyright DESTINATION share/doc/veldrisa)
install(FILES ${VELDRISA_PACKAGING}/veldrisa.desktop DESTINATION share/applications)
install(FILES ${VELDRISA_PACKAGING}/veldrisa.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${VELDRISA_PACKAGING}/io.github.veldrisa.Veldrisa.metainfo.xml DESTINATION share/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veldrisa)
set(CPACK_PACKAGE_VERSION ${VELDRISA_VERSION})
set(CPACK_PACKAGE_VENDOR "La fortuna de Veldrisa developers")
set(CPACK_PACKAGE_CONTACT "La fortuna de Veldrisa developers <veldrisa@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The voice's data and the window's font are read at run time, not linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "espeak-ng-data, fonts-dejavu-core")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "card game played by ear, in Spanish speech and sounds")
set(CPACK_PACKAGE_DESCRIPTION "Ten heirs compete for the fortune of the late Veldrisa inside her mansion.
Up to ten players, blind and sighted, share one keyboard: everything reaches
them as Spanish speech and four room sounds, and they answer with single keys.")
include(${CMAKE_CURRENT_LIST_DIR}/package-server.cmake)
include(CPack)
