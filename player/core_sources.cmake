# The player core, shared by the desktop player and both projectors: standard C++ and zlib only.
set(QUIB_PLAYER_CORE_SOURCES
  appended_movie.cpp
  bitmap_decoder.cpp
  frame_dump.cpp
  movie_decoder.cpp
  movie_player.cpp
  path.cpp
  player_program.cpp
  png_writer.cpp
  projector_view.cpp
  shape_decoder.cpp
  span_filler.cpp
  stage.cpp
  stage_renderer.cpp
  swf_bit_reader.cpp
  swf_records.cpp)
