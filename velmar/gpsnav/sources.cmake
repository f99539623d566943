# Sources of this gauge folder, relative to it.
set(PART_SOURCES
    buttons.cpp
    coordinates.cpp
    gauge.cpp
    navigation.cpp
    pages.cpp
    state.cpp
    task.cpp
    text_fields.cpp
    turnpoint_file.cpp
    turnpoint_lists.cpp)
