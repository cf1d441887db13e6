# Links for the path tests, made on the build machine: Wine cannot make
# them itself but follows the links of the file system it runs on.
# cmake -DLINKS_DIR=<folder> -P make_links.cmake
file(REMOVE_RECURSE ${LINKS_DIR})
file(MAKE_DIRECTORY ${LINKS_DIR}/folder)
file(WRITE ${LINKS_DIR}/target.wav "RIFF")
file(CREATE_LINK target.wav ${LINKS_DIR}/link.wav SYMBOLIC)
file(CREATE_LINK missing.wav ${LINKS_DIR}/dangling.wav SYMBOLIC)
file(CREATE_LINK folder ${LINKS_DIR}/folder-link SYMBOLIC)
