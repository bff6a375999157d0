# The Debian package of both programs: `cmake --build BUILD --target package`
# (or `cpack` in BUILD) writes quillon_<version>_amd64.deb with everything
# `cmake --install` puts in place: the programs, the desktop entry, the icon,
# the bash completion and the gzipped manual pages, below /usr.
#
# The libraries the programs link come from dpkg-shlibdeps, so the Depends
# line names exactly the library packages of the machine that built it.
# What the programs use without linking it goes into Recommends.

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "quillon")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Quillon Project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "voice-recording scripts from a visual-novel scenario")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quillon.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
# Debian keeps no symbols in a program package; the test build's
# sanitised programs lose theirs too, which leaves their checks in place.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillon Project <maintainers@quillon.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION "text")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The extended description, below the summary line that CPack puts first;
# CPack indents its lines as the control file wants them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Quillon turns a scenario folder of Shift-JIS screenplay files into
voice-recording scripts: one script per character with that character's
lines emphasised, a director's copy, page counts, check lists and word
counts, printed on a CUPS printer or written as PNG, BMP or PDF pages set
in vertical Japanese text. It also converts the sources of an older game
engine into screenplay files.
.
The package holds the desktop program quillon (Qt 6) and the command-line
tool quillon-batch, which does the same without a window.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs in the user's language, the Japanese faces the pages are
# set in, and the opener of the print log.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "qt6-translations-l10n, fonts-ipafont-gothic, fonts-ipafont-mincho, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
# quillon_<version>_<architecture>.deb, as Debian names its packages.
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")

include(CPack)
