# The hostile pages' generators: a library for the tests and `hostile-seeds`, which writes them as files
# (fuzzing seeds, measurements). Included by the tests and by the fuzz targets.
include_guard(GLOBAL)
set(zvp_hostile_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(zvp_hostile_cases STATIC
  ${zvp_hostile_dir}/HostilePage.cpp
  ${zvp_hostile_dir}/HostileTextCases.cpp
  ${zvp_hostile_dir}/HostileBitmapCases.cpp
  ${zvp_hostile_dir}/HostileGeometryCases.cpp)
target_link_libraries(zvp_hostile_cases PUBLIC zvp_platform_core)
add_executable(hostile-seeds ${zvp_hostile_dir}/WriteHostileSeeds.cpp)
target_link_libraries(hostile-seeds PRIVATE zvp_hostile_cases)
