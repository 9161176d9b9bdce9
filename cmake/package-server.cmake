# The server's Linux package, veldrisa-server, built by `make package` beside the game's: the
# server, its systemd unit, its one configuration file (a conffile) and the maintainer scripts
# that make its system user. Included by cmake/package-deb.cmake before CPack.
set(VELDRISA_SERVER_PACKAGING ${VELDRISA_PACKAGING}/server)

# A daemon on the network, built hardened as Debian builds its own: fortified string and memory
# calls where the compiler can check their sizes, and every symbol bound before it serves.
target_compile_definitions(veldrisa-server PRIVATE $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
target_link_options(veldrisa-server PRIVATE LINKER:-z,relro,-z,now)

install(TARGETS veldrisa-server RUNTIME DESTINATION sbin COMPONENT server)
# The browser seat's page and the four room sounds it plays, where the installed server looks.
install(DIRECTORY ${CMAKE_BINARY_DIR}/web/ DESTINATION share/veldrisa-server/web COMPONENT server)
install(FILES ${SOUND_FILES} DESTINATION share/veldrisa-server/sonidos COMPONENT server)
install(FILES ${VELDRISA_SERVER_PACKAGING}/veldrisa-server.service DESTINATION /lib/systemd/system COMPONENT server)
install(FILES ${VELDRISA_SERVER_PACKAGING}/server.conf DESTINATION /etc/veldrisa COMPONENT server)
install(FILES ${VELDRISA_STAGE}/man/veldrisa-server.8.gz DESTINATION share/man/man8 COMPONENT server)
install(FILES ${VELDRISA_STAGE}/doc/changelog.gz ${VELDRISA_PACKAGING}/copyright
        DESTINATION share/doc/veldrisa-server COMPONENT server)
install(FILES ${VELDRISA_SERVER_PACKAGING}/lintian-overrides DESTINATION share/lintian/overrides
        RENAME veldrisa-server COMPONENT server)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game server)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_GAME_PACKAGE_NAME veldrisa)
set(CPACK_DEBIAN_GAME_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_SERVER_PACKAGE_NAME veldrisa-server)
set(CPACK_DEBIAN_SERVER_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION games)
# adduser makes the system user; the rest is found by shlibdeps.
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "adduser")
set(CPACK_DEBIAN_SERVER_PACKAGE_CONTROL_EXTRA
    ${VELDRISA_SERVER_PACKAGING}/conffiles ${VELDRISA_SERVER_PACKAGING}/postinst
    ${VELDRISA_SERVER_PACKAGING}/prerm ${VELDRISA_SERVER_PACKAGING}/postrm)
# CPack puts its one summary line above every package's description: each package's description
# starts with its own summary instead.
set(CPACK_DEBIAN_GAME_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}\n${CPACK_PACKAGE_DESCRIPTION}")
unset(CPACK_PACKAGE_DESCRIPTION_SUMMARY)
set(CPACK_DEBIAN_SERVER_DESCRIPTION "online tables server for La fortuna de Veldrisa
Hosts many tables of the card game played by ear at once, each player at
their own machine hearing only what their own character may know, over
WebSocket and TLS. Every table's journal is kept in SQLite, so a restart
loses no game. Runs as a systemd service with its settings in
/etc/veldrisa/server.conf.")
