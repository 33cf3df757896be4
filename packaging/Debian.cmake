# The Debian package: what apt must bring along on a fresh system. The
# libraries the programs link (Qt among them) are read off the binaries by
# dpkg-shlibdeps; the Japanese fonts the editor asks for are named here.
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Kelvane developers <noreply@kelvane.invalid>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Replays the undo history of a Shift-JIS text editor
 Kelvane opens an undo file (.eud), a code page 932 text with the undo and
 redo stacks of the editor that made it, and lets you walk the history: one
 step back or forward, to the first or the last state, automatic playback, or
 straight to any point with a scroll bar. It shows statistics on the kinds of
 edit and saves the state reached as a new undo file.
 .
 kelvane-cli replays, inspects and edits histories without a window.")
set(CPACK_SYSTEM_NAME ${CMAKE_SYSTEM_PROCESSOR})
