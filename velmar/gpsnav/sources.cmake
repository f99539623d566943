# Sources of this gauge folder, relative to it.
set(PART_SOURCES)
