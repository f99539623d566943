# Sources of this gauge folder, relative to it: the caf needle filter and the
# companion gauges caf, mc and test.
set(PART_SOURCES
    caf_filter.cpp
    caf.cpp
    mc_deviation.cpp
    mc_vario.cpp
    mc.cpp
    test_gauge.cpp)
