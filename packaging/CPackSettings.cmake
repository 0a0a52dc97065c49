# The Debian package "orvan", made by "cpack -G DEB" from the install rules
# (scripts/package.sh does it all). Its dependencies come from dpkg-shlibdeps
# on the installed programs, plus the Qt platform plugins, which no program
# links but the monitor cannot start without.
set(CPACK_PACKAGE_NAME orvan)
set(CPACK_PACKAGE_VENDOR "Orvan 2000 developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ORVAN_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "monitor for the UPS units of an RS485 bus")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES TRUE)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_PACKAGE_NAME orvan)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORVAN_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The Chinese texts need a font with the CJK characters.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "nut-client")
# The extended description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Orvan 2000 polls up to 252 UPS units on one RS485 bus behind a serial port,
with Modbus RTU or the YD/T V3.1 and ROrizu ASCII protocols. The desktop
monitor orvan shows the units in a tree with their states and the selected
unit's values on gauges, LED bars and graphs, keeps an event log and a
monthly data log with viewers and CSV export, searches the bus for units
and sends battery tests and remote on/off commands behind a password, in
Chinese or English.

orvand is the same monitor as a system service without a window, which
serves the units to NUT clients and over HTTP; orvan-log prints the logs
as CSV, and upssim simulates UPS units on a pseudo-terminal for
demonstrations and commissioning without hardware.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
if(TARGET orvand)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
      ${PROJECT_SOURCE_DIR}/packaging/debian/postinst
      ${PROJECT_SOURCE_DIR}/packaging/debian/prerm
      ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
endif()

include(CPack)
