# `cmake --install build --prefix P` lays out an installation:
#   P/lib/trovik/                 trovik, morvane, libvantrel.so, vantrel, Config/, Skin/
#   P/bin/trovik                  a symbolic link to ../lib/trovik/trovik
#   P/share/applications/trovik.desktop and P/share/icons/hicolor/64x64/apps/trovik.png,
#                                 so the client appears in the desktop's application menu
# With P = ~/.local everything belongs to the user and the updater installs updates
# itself; with a system prefix (/usr/local, /opt/trovik) it elevates through pkexec.
set(TROVIK_INSTALL_DIR lib/trovik)

install(TARGETS trovik morvane vantrel_command
        RUNTIME DESTINATION ${TROVIK_INSTALL_DIR})
install(TARGETS vantrel LIBRARY DESTINATION ${TROVIK_INSTALL_DIR})
install(DIRECTORY ${TROVIK_BIN_DIR}/Config DESTINATION ${TROVIK_INSTALL_DIR})
install(FILES ${TROVIK_BIN_DIR}/Skin/SkinRes.zip DESTINATION ${TROVIK_INSTALL_DIR}/Skin)
install(FILES ${CMAKE_SOURCE_DIR}/skin/client/LogoBig.png
        DESTINATION share/icons/hicolor/64x64/apps RENAME trovik.png)

# The link and the desktop entry name the prefix given at install time.
install(CODE [[
    set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
    file(MAKE_DIRECTORY "${root}/bin" "${root}/share/applications")
    file(REMOVE "${root}/bin/trovik")
    file(CREATE_LINK "../lib/trovik/trovik" "${root}/bin/trovik" SYMBOLIC)
    message(STATUS "Installing: ${root}/bin/trovik -> ../lib/trovik/trovik")
    file(WRITE "${root}/share/applications/trovik.desktop"
"[Desktop Entry]
Type=Application
Name=Trovik
GenericName=Video Finder
GenericName[zh_CN]=影视搜索
Comment=Find TV series, films, animation and variety shows and open the sites that play them
Comment[zh_CN]=搜索电视剧、电影、动漫和综艺，打开播放它们的网站
Exec=\"${CMAKE_INSTALL_PREFIX}/lib/trovik/trovik\"
Icon=trovik
Terminal=false
Categories=AudioVideo;Video;Network;
StartupWMClass=trovik
")
    message(STATUS "Installing: ${root}/share/applications/trovik.desktop")
]])
