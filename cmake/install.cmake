# Installing the game: `make install` for one player (component "user", under ~/.local by
# default) and the Debian package (component "deb", under /usr). Both put the program's
# resources beside a marker that tells the game it is installed, so that it keeps each
# player's settings in their own data folder.
set(QUINDARA_ICON_SIZES 48 64 128 256)
set(STAGING ${CMAKE_BINARY_DIR}/install-staging)
file(MAKE_DIRECTORY ${STAGING})
file(WRITE ${STAGING}/installed "An installed copy: settings live in the player's data folder.\n")

# What software centres show. Where the game is published is not decided yet: until it is,
# these are placeholders in the reserved .invalid domain. Set all three when publishing; the
# id is the component's name for good, so choose it once.
set(QUINDARA_HOMEPAGE "https://quindara.invalid" CACHE STRING "the game's home page")
set(QUINDARA_APP_ID "invalid.quindara.Quindara" CACHE STRING "the reverse-domain AppStream id")
set(QUINDARA_SCREENSHOTS "${QUINDARA_HOMEPAGE}/docs" CACHE STRING "where docs/*.png are published")
# The release is the newest changelog entry, dated as its trailer line says.
file(STRINGS data/debian/changelog trailer REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX MATCH "([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9])" _ "${trailer}")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(numbers 01 02 03 04 05 06 07 08 09 10 11 12)
list(FIND months "${CMAKE_MATCH_2}" month)
if(month LESS 0)
  message(FATAL_ERROR "data/debian/changelog: no date in the newest entry's trailer")
endif()
list(GET numbers ${month} month)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS data/debian/changelog)
set(QUINDARA_RELEASE_DATE "${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1}")
set(METAINFO ${STAGING}/${QUINDARA_APP_ID}.metainfo.xml)
configure_file(data/quindara.metainfo.xml.in ${METAINFO} @ONLY)

function(install_common component datadir exec)
  # The kinds of file the build makes, and nothing else: what a player left in the build's
  # folder (settings, recorded runs, a save cut short) never ships.
  install(DIRECTORY ${RES}/ DESTINATION ${datadir}/_resources COMPONENT ${component}
    FILES_MATCHING PATTERN "*.bmp" PATTERN "*.wav" PATTERN "*.ttf" PATTERN "*.lvl"
    PATTERN "arial.ttf" EXCLUDE)
  install(FILES ${STAGING}/installed DESTINATION ${datadir}/_resources COMPONENT ${component})
  foreach(size ${QUINDARA_ICON_SIZES})
    install(FILES ${ICONS}/quindara-${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
      RENAME quindara.png COMPONENT ${component})
  endforeach()
  install(FILES ${METAINFO} DESTINATION share/metainfo COMPONENT ${component})
endfunction()

# ---- one player: everything under PREFIX/share/quindara, a launcher in PREFIX/bin --------
install_common(user share/quindara "")
install(TARGETS quindara DESTINATION share/quindara COMPONENT user)
install(FILES ${RES}/arial.ttf DESTINATION share/quindara/_resources COMPONENT user)
file(CREATE_LINK ../share/quindara/quindara ${STAGING}/quindara SYMBOLIC)
install(FILES ${STAGING}/quindara DESTINATION bin COMPONENT user)
# The desktop entry names the launcher by its full path: ~/.local/bin is often not on the
# desktop's PATH. The prefix is known only when installing.
install(CODE "
  file(READ \"${CMAKE_SOURCE_DIR}/data/quindara.desktop.in\" entry)
  string(REPLACE \"@QUINDARA_EXEC@\" \"\${CMAKE_INSTALL_PREFIX}/bin/quindara\" entry \"\${entry}\")
  file(WRITE \"${STAGING}/user/quindara.desktop\" \"\${entry}\")
  file(INSTALL \"${STAGING}/user/quindara.desktop\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\")
" COMPONENT user)

# ---- the Debian package: /usr/games, /usr/share/games/quindara ----------------------------
install_common(deb share/games/quindara "")
install(TARGETS quindara DESTINATION games COMPONENT deb)
# The sans face comes from the fonts-liberation package the game depends on.
file(CREATE_LINK ../../../fonts/truetype/liberation/LiberationSans-Regular.ttf
  ${STAGING}/arial.ttf SYMBOLIC)
install(FILES ${STAGING}/arial.ttf DESTINATION share/games/quindara/_resources COMPONENT deb)
set(QUINDARA_EXEC /usr/games/quindara)
configure_file(data/quindara.desktop.in ${STAGING}/deb/quindara.desktop @ONLY)
install(FILES ${STAGING}/deb/quindara.desktop DESTINATION share/applications COMPONENT deb)
add_custom_command(OUTPUT ${STAGING}/deb/copyright ${STAGING}/deb/changelog.gz ${STAGING}/deb/quindara.6.gz
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-copyright.sh ${STAGING}/deb/copyright
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/data/debian/changelog > ${STAGING}/deb/changelog.gz
  COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/quindara.6 > ${STAGING}/deb/quindara.6.gz
  DEPENDS scripts/make-copyright.sh data/debian/changelog ${CMAKE_BINARY_DIR}/quindara.6)
add_custom_target(package-docs ALL DEPENDS ${STAGING}/deb/copyright)
install(FILES ${STAGING}/deb/copyright ${STAGING}/deb/changelog.gz
  DESTINATION share/doc/quindara COMPONENT deb)
install(FILES ${STAGING}/deb/quindara.6.gz DESTINATION share/man/man6 COMPONENT deb)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quindara)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quindara developers <quindara@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "top-down arcade road race against the clock")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Drive the red car up an endless road against the clock: dodge the traffic
car, keep off the kerbs and the gravel, switch on the headlights in the
tunnels and reach the checkpoints for more time. The high score and the
volume are kept for each player.")
set(CPACK_DEBIAN_PACKAGE_NAME quindara)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL deb)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# shlibdeps names the classic SDL 1.2 library package; the game is made for the SDL2-based
# implementation, so ask for it by name and apt installs that one.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl1.2-compat-shim, fonts-liberation")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
