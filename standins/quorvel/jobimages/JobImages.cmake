# Page images of the simulated servers' stored jobs (images.txt), made into bin/servers after
# the committed fixtures are copied there. Runs at every build; only missing or changed images
# cost time.
find_program(NIMBREL_CONVERT NAMES convert-im6.q16 convert REQUIRED)
add_custom_target(quorvel_job_images
    COMMAND ${CMAKE_COMMAND} -DCONVERT=${NIMBREL_CONVERT}
            -DTABLE=${CMAKE_CURRENT_LIST_DIR}/images.txt
            -DOUT=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/servers
            -DSTAMPS=${CMAKE_CURRENT_BINARY_DIR}/jobimages
            -P ${CMAKE_CURRENT_LIST_DIR}/MakeJobImages.cmake
    COMMENT "Page images of the simulated servers' jobs"
    VERBATIM)
add_dependencies(quorvel_job_images quorvel_fixtures)
add_dependencies(quorvel10 quorvel_job_images)
