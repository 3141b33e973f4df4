# `cpack -G DEB` in the build folder: one Debian package, tarvolan_1.0.0_amd64.deb,
# holding everything `cmake --install` puts under /usr (cmake/Install.cmake),
# stripped of debug information.
#
# Its dependencies: the shared libraries the binaries need, as dpkg-shlibdeps
# finds them (libc6, libstdc++6, libqt6core6, libqt6gui6, libqt6widgets6, ...;
# dpkg-dev provides it), and the CJK font the windows are drawn with.

set(CPACK_PACKAGE_NAME tarvolan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Public-group module of the Velora IMS client, with its reference client")
set(CPACK_PACKAGE_DESCRIPTION
  "libTarvolan.so is the public-group module of the Velora IMS desktop client: a host loads it
with dlopen, fills libClientKit.so and exchanges numbered messages with it. The package holds
the module with its translations, libClientKit.so and libTarvolanPlatform.so, the headers and
CMake and pkg-config files a host is built with, and the reference client tarvolan-client with
its assets.")
set(CPACK_PACKAGE_CONTACT "Tarvolan maintainers <maintainers@users.noreply.c-seed-3ab066de.example>"
  CACHE STRING "Maintainer of the Debian package")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, qt6-translations-l10n")
# The libraries' sonames go into the package's shlibs file, and ldconfig runs
# after installation.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

include(CPack)
