# cmake -D SOURCE=<file> -D DESTINATION=<file> -P CopyIfAbsent.cmake
# Copies SOURCE to DESTINATION unless DESTINATION already exists.
if(NOT EXISTS "${DESTINATION}")
  get_filename_component(destination_dir "${DESTINATION}" DIRECTORY)
  file(MAKE_DIRECTORY "${destination_dir}")
  file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
