// SPDX-License-Identifier: MIT
// libvxRecInfo.so is vxRecInfoCore linked whole into one library, exporting what the installed
// headers declare. It has no code of its own; CMake wants at least one source of its own for a
// library, and this is it.
