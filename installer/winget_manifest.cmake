# Writes the winget manifest of one built installer from the templates in
# winget/: the version file, the installer file and the German default locale.
#   cmake -DINSTALLER=<Tikkora-Setup-x.exe> -DVERSION=<x> -DINSTALLER_URL=<url>
#         -DOUT_DIR=<folder> -P winget_manifest.cmake
# Run after the installer is final (signed, where it is), since winget checks
# the downloaded file against the SHA-256 written here.
file(SHA256 "${INSTALLER}" INSTALLER_SHA256)
string(TOUPPER "${INSTALLER_SHA256}" INSTALLER_SHA256)
file(MAKE_DIRECTORY "${OUT_DIR}")
foreach(kind "" .installer .locale.de-DE)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/winget/Tikkora.Tikkora${kind}.yaml.in
                   "${OUT_DIR}/Tikkora.Tikkora${kind}.yaml" @ONLY NEWLINE_STYLE LF)
endforeach()
