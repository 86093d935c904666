# Folder layering (see tests/layout/README.md); included from tests/CMakeLists.txt.
add_test(NAME layout_includes
    COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -P ${CMAKE_CURRENT_LIST_DIR}/check_includes.cmake)
set_tests_properties(layout_includes PROPERTIES TIMEOUT 60)

# The planted tree holds one forbidden include; the check must name it and nothing allowed.
add_test(NAME layout_includes_planted
    COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_CURRENT_LIST_DIR}/planted -P ${CMAKE_CURRENT_LIST_DIR}/check_includes.cmake)
set_tests_properties(layout_includes_planted PROPERTIES TIMEOUT 60
    PASS_REGULAR_EXPRESSION "src/graph/view\\.cpp:7: graph may not include \"app/mainwindow\\.h\""
    FAIL_REGULAR_EXPRESSION "model/x\\.h|graph/view\\.h|commented\\.h|fakes/|README|, ([02-9]|[0-9][0-9]+) violations")
