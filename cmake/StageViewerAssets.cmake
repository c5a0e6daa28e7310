# Lays out the viewer assets tree from our own files, the drawn pictures, the npm libraries and the text font,
# then zips it. Run with cmake -P; see resources/CMakeLists.txt for the variables.

foreach(var OWN_DIR PICTURES_DIR NODE_MODULES FONT STAGE_DIR OUTPUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE "${STAGE_DIR}")
file(MAKE_DIRECTORY "${STAGE_DIR}")

# source (relative to node_modules) -> path in the archive
set(library_files
    "bootstrap/dist/css/bootstrap.min.css|css/bootstrap.min.css"
    "bootstrap/dist/js/bootstrap.min.js|js/bootstrap.min.js"
    "bootstrap/dist/fonts/glyphicons-halflings-regular.eot|fonts/glyphicons-halflings-regular.eot"
    "bootstrap/dist/fonts/glyphicons-halflings-regular.svg|fonts/glyphicons-halflings-regular.svg"
    "bootstrap/dist/fonts/glyphicons-halflings-regular.ttf|fonts/glyphicons-halflings-regular.ttf"
    "bootstrap/dist/fonts/glyphicons-halflings-regular.woff|fonts/glyphicons-halflings-regular.woff"
    "bootstrap/dist/fonts/glyphicons-halflings-regular.woff2|fonts/glyphicons-halflings-regular.woff2"
    "jquery/dist/jquery.min.js|js/jquery.js"
    "vanilla-lazyload/dist/lazyload.min.js|js/lazyload.min.js"
    "slick-carousel/slick/slick.min.js|plugins/slick-slider/slick/slick.min.js"
    "slick-carousel/slick/slick.css|plugins/slick-slider/slick/slick.css"
    "slick-carousel/slick/slick-theme.css|plugins/slick-slider/slick/slick-theme.css"
    "slick-carousel/slick/ajax-loader.gif|plugins/slick-slider/slick/ajax-loader.gif"
    "slick-carousel/slick/fonts/slick.eot|plugins/slick-slider/slick/fonts/slick.eot"
    "slick-carousel/slick/fonts/slick.svg|plugins/slick-slider/slick/fonts/slick.svg"
    "slick-carousel/slick/fonts/slick.ttf|plugins/slick-slider/slick/fonts/slick.ttf"
    "slick-carousel/slick/fonts/slick.woff|plugins/slick-slider/slick/fonts/slick.woff"
    "bootstrap-star-rating/js/star-rating.min.js|plugins/bootstrap-star-rating/js/star-rating.js"
    "bootstrap-star-rating/css/star-rating.css|plugins/bootstrap-star-rating/css/star-rating.css"
    "select2/dist/js/select2.min.js|js/select2.min.js"
    "select2/dist/css/select2.min.css|css/select2.min.css"
)

function(stage_file source destination)
    if(NOT EXISTS "${source}")
        message(FATAL_ERROR "Missing asset ${source}")
    endif()
    get_filename_component(folder "${STAGE_DIR}/${destination}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY_FILE "${source}" "${STAGE_DIR}/${destination}")
endfunction()

foreach(pair IN LISTS library_files)
    string(REPLACE "|" ";" parts "${pair}")
    list(GET parts 0 source)
    list(GET parts 1 destination)
    stage_file("${NODE_MODULES}/${source}" "${destination}")
endforeach()

stage_file("${FONT}" "fonts/segoeui/SEGOEUI.TTF")

foreach(picture loading.jpg loading-banner.jpg user.png book_shadow.png select.png)
    stage_file("${PICTURES_DIR}/${picture}" "img/${picture}")
endforeach()

file(GLOB_RECURSE own_files RELATIVE "${OWN_DIR}" "${OWN_DIR}/*")
foreach(own IN LISTS own_files)
    stage_file("${OWN_DIR}/${own}" "${own}")
endforeach()

file(REMOVE "${OUTPUT}")
# A fixed time stamp keeps the archive the same from build to build.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar cf "${OUTPUT}" --format=zip "--mtime=2020-01-01 00:00:00 UTC" -- loading.html css fonts img js plugins
    WORKING_DIRECTORY "${STAGE_DIR}"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Cannot zip the viewer assets: ${result}")
endif()
