# What `cmake --install build --prefix P` puts under P, for host developers:
#
#   bin/tarvolan-client                 the reference client
#   lib/libTarvolan.so.1.0.0            the module, which a host loads with dlopen
#   lib/libClientKit.so.1.0.0           the libraries a host links; each of the
#   lib/libTarvolanPlatform.so.1.0.0    three also as its soname (.so.1) and .so
#   lib/cmake/Tarvolan/                 find_package(Tarvolan): Tarvolan::ClientKit,
#                                       Tarvolan::Platform, Tarvolan::Module, TARVOLAN_MODULE
#   lib/pkgconfig/tarvolan.pc           pkg-config tarvolan
#   include/tarvolan/                   the public headers, with their relative paths
#   share/tarvolan/                     the client folder: emoticons, skins, demo world
#   share/tarvolan/translations/        the module's catalogues (tarvolan_en.qm ...),
#                                       which it finds relative to its own folder
#
# (lib/ is CMAKE_INSTALL_LIBDIR: lib/x86_64-linux-gnu when configured for /usr.)
# Nothing names the prefix: the client and the libraries find each other
# through $ORIGIN, the CMake and pkg-config files find the prefix from their
# own folder, so the tree works wherever it is installed or moved.

include(CMakePackageConfigHelpers)

set(TARVOLAN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tarvolan)

# The libraries find each other in their own folder, the client finds them in
# lib/ beside bin/.
set_target_properties(Tarvolan ClientKit TarvolanPlatform PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(tarvolan-client PROPERTIES INSTALL_RPATH "$ORIGIN/${TARVOLAN_BIN_TO_LIB}")

install(TARGETS Tarvolan ClientKit TarvolanPlatform EXPORT TarvolanTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tarvolan)
install(TARGETS tarvolan-client RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The headers a host includes: the host interface, ClientKit, and exactly what
# ClientKit.h includes. scripts/check-install.sh compiles each one from the
# installed tree alone, so a new include here that is missing from this list
# fails there.
set(TARVOLAN_PUBLIC_HEADERS
  protocol/TarvolanAbi.h
  clientkit/ClientKit.h
  common/GbkString.h
  common/TextFormat.h
  platform/Export.h)
foreach(header ${TARVOLAN_PUBLIC_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/src/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tarvolan/${folder})
endforeach()

# The client folder, without the client log that runs in the repository
# (the tests among them) leave there.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvolan
  PATTERN Velora.log EXCLUDE)

install(FILES ${TARVOLAN_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvolan/translations)

# ---- find_package(Tarvolan) ---------------------------------------------------------
install(EXPORT TarvolanTargets NAMESPACE Tarvolan:: DESTINATION ${TARVOLAN_CMAKE_DIR})
# The module's path as the host should dlopen it: by its soname, which stays
# the same across compatible versions.
set(TARVOLAN_MODULE_FILE ${CMAKE_INSTALL_LIBDIR}/libTarvolan.so.${PROJECT_VERSION_MAJOR})
configure_package_config_file(cmake/TarvolanConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/TarvolanConfig.cmake
  INSTALL_DESTINATION ${TARVOLAN_CMAKE_DIR}
  PATH_VARS TARVOLAN_MODULE_FILE CMAKE_INSTALL_INCLUDEDIR)
# A host built for 1.x runs with any later 1.y: the soname changes with the major number.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TarvolanConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TarvolanConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/TarvolanConfigVersion.cmake
  DESTINATION ${TARVOLAN_CMAKE_DIR})

# ---- pkg-config tarvolan -------------------------------------------------------------
# The prefix is found from the .pc file's own folder (${pcfiledir}).
file(RELATIVE_PATH TARVOLAN_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" TARVOLAN_PC_TO_PREFIX "${TARVOLAN_PC_TO_PREFIX}")
configure_file(cmake/tarvolan.pc.in ${CMAKE_CURRENT_BINARY_DIR}/tarvolan.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarvolan.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
