# libyuv as the imported target Libyuv::Libyuv (Debian ships no pkg-config or CMake file for it).
find_path(LIBYUV_INCLUDE_DIR libyuv/convert_argb.h REQUIRED)
find_library(LIBYUV_LIBRARY yuv REQUIRED)
add_library(Libyuv::Libyuv UNKNOWN IMPORTED GLOBAL)
set_target_properties(Libyuv::Libyuv PROPERTIES IMPORTED_LOCATION ${LIBYUV_LIBRARY}
                                                INTERFACE_INCLUDE_DIRECTORIES ${LIBYUV_INCLUDE_DIR})
