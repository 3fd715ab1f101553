# The game end to end: a fixture application folder whose game description
# is enciphered with the game key at build time by the data tool, and the
# paths test_app needs to run the game on it.
set(QV_E2E_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/engine/game)
set(QV_E2E_DIR ${CMAKE_CURRENT_BINARY_DIR}/e2e-fixture)
add_custom_command(
  OUTPUT ${QV_E2E_DIR}/data/ini/Zintara.ini ${QV_E2E_DIR}/data/img/picture.png ${QV_E2E_DIR}/lang/default.lng
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_E2E_DIR}/data/ini ${QV_E2E_DIR}/data/img ${QV_E2E_DIR}/lang
  COMMAND ${CMAKE_COMMAND} -E copy ${QV_E2E_SOURCE}/data/img/picture.png ${QV_E2E_DIR}/data/img/picture.png
  COMMAND ${CMAKE_COMMAND} -E copy ${QV_E2E_SOURCE}/lang/default.lng ${QV_E2E_DIR}/lang/default.lng
  COMMAND $<TARGET_FILE:quorvanel-data> encipher --key-role game ${QV_E2E_SOURCE}/game.xml
          ${QV_E2E_DIR}/data/ini/Zintara.ini
  DEPENDS quorvanel-data ${QV_E2E_SOURCE}/game.xml ${QV_E2E_SOURCE}/data/img/picture.png
          ${QV_E2E_SOURCE}/lang/default.lng
  VERBATIM)
add_custom_target(e2e_fixture DEPENDS ${QV_E2E_DIR}/data/ini/Zintara.ini ${QV_E2E_DIR}/data/img/picture.png)
add_dependencies(test_app e2e_fixture quorvanel)
set_property(TEST app APPEND PROPERTY ENVIRONMENT "QV_GAME=$<TARGET_FILE:quorvanel>" "QV_E2E_FIXTURE=${QV_E2E_DIR}")
# Started without --app-dir the game finds the bundled content beside it.
add_dependencies(test_app content)
