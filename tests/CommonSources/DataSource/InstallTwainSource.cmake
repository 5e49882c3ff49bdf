# Copies the data source to where Wine's source manager looks for one:
#   cmake -DSOURCE=<Nimbrel5.ds> -DPREFIX=<wine prefix> -DFOLDER=<twain_32|twain_64>
#         -P InstallTwainSource.cmake
set(target_dir "${PREFIX}/drive_c/windows/${FOLDER}")
file(MAKE_DIRECTORY "${target_dir}")
file(COPY_FILE "${SOURCE}" "${target_dir}/sane.ds")
