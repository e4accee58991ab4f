# The Windows program's resources: the manifest (UTF-8 code page, so the narrow calls and the C
# runtime take the program's UTF-8 strings) and the version resource, built from the same values
# as the rest of the build. Defines the object library brumo_resources for every executable.
enable_language(RC)

string(REPLACE "." "," BRUMO_RC_FILE_VERSION "${BRUMO_VERSION_TEXT}")
string(REPLACE "." "," BRUMO_RC_PRODUCT_VERSION "${BRUMO_PRODUCT_VERSION}")
set(BRUMO_RC_VERSION_DOTTED "${BRUMO_VERSION_TEXT}")
if(BRUMO_PRERELEASE)
    set(BRUMO_RC_FILE_FLAGS VS_FF_PRERELEASE)
else()
    set(BRUMO_RC_FILE_FLAGS 0)
endif()

# Company and copyright texts are those the program itself reports.
file(STRINGS "${PROJECT_SOURCE_DIR}/src/app/version_info.h" _version_lines
     REGEX "constexpr const char\\* (CompanyName|Copyright) = ")
foreach(_line IN LISTS _version_lines)
    if(_line MATCHES "CompanyName = \"([^\"]*)\"")
        set(BRUMO_RC_COMPANY "${CMAKE_MATCH_1}")
    elseif(_line MATCHES "Copyright = \"([^\"]*)\"")
        set(BRUMO_RC_COPYRIGHT "${CMAKE_MATCH_1}")
    endif()
endforeach()
if(NOT BRUMO_RC_COMPANY OR NOT BRUMO_RC_COPYRIGHT)
    message(FATAL_ERROR "CompanyName and Copyright not found in src/app/version_info.h")
endif()

set(BRUMO_RC_MANIFEST "${CMAKE_BINARY_DIR}/brumo.manifest")
configure_file("${PROJECT_SOURCE_DIR}/src/platform/win32/brumo.manifest" "${BRUMO_RC_MANIFEST}" @ONLY)
configure_file("${PROJECT_SOURCE_DIR}/src/platform/win32/brumo.rc.in" "${CMAKE_BINARY_DIR}/brumo.rc" @ONLY)
add_library(brumo_resources OBJECT "${CMAKE_BINARY_DIR}/brumo.rc")
set_source_files_properties("${CMAKE_BINARY_DIR}/brumo.rc" PROPERTIES OBJECT_DEPENDS "${BRUMO_RC_MANIFEST}")
if(MSVC)
    # The manifest is part of the resource script; the linker must not add one of its own.
    target_link_options(brumo_resources INTERFACE /MANIFEST:NO)
endif()
