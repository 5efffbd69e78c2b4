# The files an installation must hold, relative to the prefix /usr.
function(analisis_tracks_installed_files out gui app_id)
    set(files
        bin/analisis-tracks-cli
        share/doc/analisis-tracks/copyright
        share/doc/analisis-tracks/changelog.Debian.gz
        share/man/man1/analisis-tracks-cli.1.gz)
    if(gui)
        list(APPEND files
            bin/analisis-tracks
            share/man/man1/analisis-tracks.1.gz
            share/applications/${app_id}.desktop
            share/icons/hicolor/scalable/apps/analisis-tracks.svg
            share/metainfo/${app_id}.metainfo.xml
            share/mime/packages/analisis-tracks.xml
            share/analisis-tracks/samples)
    endif()
    set(${out} ${files} PARENT_SCOPE)
endfunction()
