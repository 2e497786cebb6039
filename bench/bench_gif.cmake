# giflib (Debian's libgif-dev) is the reference decoder of this benchmark only.
find_path(KORVALITH_GIFLIB_INCLUDE gif_lib.h REQUIRED)
find_library(KORVALITH_GIFLIB gif REQUIRED)
target_include_directories(${name} PRIVATE ${KORVALITH_GIFLIB_INCLUDE})
target_link_libraries(${name} PRIVATE korvalith_html ${KORVALITH_GIFLIB})
