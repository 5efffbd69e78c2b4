# The files an installation must hold, relative to the prefix /usr.
function(analisis_tracks_installed_files out gui app_id)
    set(files
        bin/analisis-tracks-cli
        share/doc/analisis-tracks/copyright)
    if(gui)
        list(APPEND files
            bin/analisis-tracks
            share/applications/${app_id}.desktop
            share/icons/hicolor/scalable/apps/analisis-tracks.svg
            share/metainfo/${app_id}.metainfo.xml
            share/mime/packages/analisis-tracks.xml
            share/analisis-tracks/samples)
    endif()
    set(${out} ${files} PARENT_SCOPE)
endfunction()
