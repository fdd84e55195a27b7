# Finds the system libraries once, so every folder links the same imported targets.
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)

find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets OpenGL OpenGLWidgets)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(CGAL REQUIRED)
find_package(nanoflann REQUIRED)
find_package(pugixml REQUIRED)
find_package(Freetype REQUIRED)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
find_package(GTest REQUIRED)
find_package(benchmark QUIET)

# Debian ships OpenCV's component packages without a CMake or pkg-config file:
# build one imported target from the headers and the three libraries we use.
find_path(OPENCV_INCLUDE_DIR opencv2/core.hpp PATH_SUFFIXES opencv4 REQUIRED)
add_library(tessara_opencv INTERFACE)
foreach(component core imgproc imgcodecs)
  find_library(OPENCV_${component}_LIBRARY opencv_${component} REQUIRED)
  target_link_libraries(tessara_opencv INTERFACE ${OPENCV_${component}_LIBRARY})
endforeach()
target_include_directories(tessara_opencv SYSTEM INTERFACE ${OPENCV_INCLUDE_DIR})
add_library(OpenCV::Tessara ALIAS tessara_opencv)
