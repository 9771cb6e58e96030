# The Debian package, made by `cpack -G DEB` in a build folder configured with the prefix /usr
# (scripts/package does both). Its dependencies are worked out from the program itself by
# dpkg-shlibdeps; the desktop, file type and icon caches are brought up to date by the triggers of
# Debian's own desktop-file-utils, shared-mime-info and icon theme packages.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME portolan)
set(CPACK_PACKAGE_VENDOR "The Portolan developers")
# Portolan has no web site and no mail address. The Maintainer field demands an address, so it names
# one under .example, a top-level domain reserved for examples (RFC 2606) that reaches no one; the
# optional Homepage field is left out.
set(CPACK_PACKAGE_CONTACT "The Portolan developers <maintainers@portolan.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "address book of FTP sites that starts your own FTP client")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # portolan_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows are laid out for a font of these widths; Qt falls back to another without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation2)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Portolan keeps an address book of up to 200 FTP sites: for each a description,
the host, port, user name, password, login folder and script, whether to log in
anonymously, and the date of the last change. A double-click on a site starts
the FTP client of your choice with a command line built from a template.
.
Site books are saved as .ptn files, which the desktop opens with Portolan. A
book can be exported as an aligned plain-text list, and sites last changed
before a given date can be purged.")

include(CPack)
