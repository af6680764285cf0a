# The Debian package of the program (cpack -G DEB, or tools/make-deb): what `cmake --install`
# puts in place, under /usr, with the dependencies worked out by dpkg-shlibdeps from the
# installed programs and library.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quadrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quadrel developers")
set(CPACK_PACKAGE_CONTACT "Quadrel developers <dev@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "four-channel surveillance camera viewer")
# The long description; CPack puts the summary above it and indents its lines.
set(CPACK_PACKAGE_DESCRIPTION
    "Quadrel shows the four cameras of a USB video grabber with four analogue
inputs, cycles through them, records a channel to AVI with its title and the
time burned in, takes JPEG snapshots on demand or on a schedule, and raises an
alarm sound and e-mail when a camera loses its signal or the grabber is
unplugged. Without hardware it runs on a simulated four-input grabber.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The private library folder is not on the system's library path; dpkg-shlibdeps needs to know
# that libvexlay.so is the package's own and not a dependency to look up.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_INSTALL_FULL_LIBDIR}/quadrel)
# The fonts the overlay and the window's texts are drawn with are found through fontconfig, not
# linked, so dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-wqy-microhei")
set(CPACK_STRIP_FILES ON)
include(CPack)
