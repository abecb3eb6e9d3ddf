# The Debian package made by CPack (tools/package.sh). Dependencies come from the installed binaries
# through dpkg-shlibdeps; Recommends names what no binary links but the programs need at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zvpview)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Zevrin)
set(CPACK_PACKAGE_CONTACT "Zevrin <biuro@zevrin.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for saved reports (.zvp)")
set(CPACK_PACKAGE_DESCRIPTION
    "zvpview shows saved reports page by page, prints page ranges with copies\n"
    "through CUPS, saves reports under another name and converts them into PDF.\n"
    "The command-line companion zvptool inspects, checks, packs and unpacks\n"
    "reports, converts them into PDF and draws pages into PNG images; file\n"
    "managers show the first page of every report as its thumbnail.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://zevrin.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs Qt's platform plugins and the printer dialog a CUPS client; text needs fonts metric
# compatible with the Windows core fonts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins, fonts-liberation2, fonts-crosextra-carlito, fonts-crosextra-caladea, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
