# SPDX-License-Identifier: MIT
# make docs: the API reference of the installed headers (VXRECINFO_PUBLIC_HEADERS, from
# Install.cmake), written by doxygen to build/docs/html. A warning fails it, so a public
# declaration without its comment fails the api_reference_builds test.
find_package(Doxygen 1.9)
if(DOXYGEN_FOUND)
  set(VX_DOCS_OUTPUT ${CMAKE_BINARY_DIR}/docs)
  set(VX_DOCS_HEADERS "")
  foreach(header ${VXRECINFO_PUBLIC_HEADERS})
    string(APPEND VX_DOCS_HEADERS " \\\n                         \"${PROJECT_SOURCE_DIR}/RecInfo/${header}\"")
  endforeach()
  configure_file(docs/Doxyfile.in ${VX_DOCS_OUTPUT}/Doxyfile @ONLY)
  # From scratch each time, so that a page of a header no longer installed does not stay.
  add_custom_target(docs
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${VX_DOCS_OUTPUT}/html
    COMMAND Doxygen::doxygen ${VX_DOCS_OUTPUT}/Doxyfile
    WORKING_DIRECTORY ${VX_DOCS_OUTPUT}
    COMMENT "API reference: ${VX_DOCS_OUTPUT}/html/index.html"
    VERBATIM)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/docs/html/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/html OPTIONAL)
endif()
