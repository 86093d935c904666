# cmake --install into a temporary prefix, the desktop files, each program's --version with no
# display, and the Debian package's dependencies (cpack -G DEB, dpkg-deb --info).
add_test(NAME install COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/install/check_install.sh ${CMAKE_BINARY_DIR}
         ${PROJECT_VERSION})
set_tests_properties(install PROPERTIES TIMEOUT 300)
