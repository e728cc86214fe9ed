# Every third-party library the engine may use, as imported targets.
# Libraries link only the ones they need.
find_package(PkgConfig REQUIRED)

foreach(mod sdl2 epoxy tinyxml2 IL ogg theora theoradec theoraenc vorbis vorbisfile vorbisenc zlib libdeflate libpng libjpeg spirv-cross-c-shared x11)
  string(MAKE_C_IDENTIFIER "${mod}" id)
  pkg_check_modules(PC_${id} REQUIRED IMPORTED_TARGET GLOBAL ${mod})
  add_library(pc::${mod} ALIAS PkgConfig::PC_${id})
endforeach()

find_package(Threads REQUIRED)
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
find_package(glslang REQUIRED)
find_package(utf8cpp REQUIRED)

# Third-party headers are SYSTEM so our -Werror never trips on them.
foreach(t pc::sdl2 pc::epoxy pc::tinyxml2 pc::IL pc::ogg pc::theora pc::theoradec pc::theoraenc pc::vorbis pc::vorbisfile pc::vorbisenc pc::zlib pc::libdeflate pc::libpng pc::libjpeg pc::spirv-cross-c-shared pc::x11)
  get_target_property(real ${t} ALIASED_TARGET)
  get_target_property(dirs ${real} INTERFACE_INCLUDE_DIRECTORIES)
  if(dirs)
    set_target_properties(${real} PROPERTIES INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${dirs}")
  endif()
endforeach()

# glslang is built without RTTI, so clang's vptr check cannot find type
# information for its classes: code that uses them goes without that check.
set_property(TARGET glslang::glslang APPEND PROPERTY INTERFACE_COMPILE_OPTIONS
  $<$<CXX_COMPILER_ID:Clang>:-fno-sanitize=vptr>)
