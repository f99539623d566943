# Sources of this gauge folder, relative to it.
set(PART_SOURCES
    controls.cpp
    display.cpp
    glide.cpp
    glide_math.cpp
    lnav_gauge.cpp
    lnav_state.cpp
    pages.cpp
    polar_file.cpp
    vario.cpp
    vario_audio.cpp)
