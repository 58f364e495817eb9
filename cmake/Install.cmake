# SPDX-License-Identifier: MIT
# What `cmake --install` puts under the prefix (debian/ splits it into the packages).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VXRECINFO_PUBLIC_HEADERS
  vxRecInfo.h
  automation/ClassRegistry.h automation/Com.h automation/Date.h automation/Dispatch.h automation/Export.h
  automation/HResult.h automation/IDispatch.h automation/Registration.h automation/RuntimeError.h
  automation/SafeArray.h automation/Variant.h
  component/DataSetFields.h component/DllEntry.h component/HostObjects.h component/IFontSettings.h
  component/IRecordInfo.h component/Identity.h component/ProgressObserver.h printing/PdfRecord.h)
foreach(header ${VXRECINFO_PUBLIC_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES RecInfo/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vxRecInfo/${folder})
endforeach()

install(TARGETS vxRecInfo EXPORT vxRecInfoTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT vxRecInfoTargets NAMESPACE vxRecInfo:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/vxRecInfo)
configure_package_config_file(cmake/vxRecInfoConfig.cmake.in ${CMAKE_BINARY_DIR}/vxRecInfoConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/vxRecInfo)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/vxRecInfoConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/vxRecInfoConfig.cmake ${CMAKE_BINARY_DIR}/vxRecInfoConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/vxRecInfo)
file(RELATIVE_PATH VX_PKGCONFIG_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
configure_file(cmake/vxRecInfo.pc.in ${CMAKE_BINARY_DIR}/vxRecInfo.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/vxRecInfo.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(TARGETS recinfo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY samples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vxRecInfo/samples)
install(FILES LICENSE README.md docs/architecture.md docs/recordings-file.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The Python package, where Debian's python3 looks in the package (/usr/lib/python3/dist-packages);
# its extension has the component linked in.
if(TARGET vxrecinfo_python)
  install(TARGETS vxrecinfo_python LIBRARY DESTINATION ${VXRECINFO_PYTHON_INSTALL_DIR}/vxrecinfo)
  install(FILES ${VXRECINFO_PYTHON_PACKAGE_FILES} DESTINATION ${VXRECINFO_PYTHON_INSTALL_DIR}/vxrecinfo)
  install(FILES examples/export_csv.py DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
endif()
