# One line per group of generated resources: its name and its sources.
zemra_asset_group(objects objects.cpp object_chunks.cpp object_shapes.cpp)
zemra_asset_group(font font.cpp)
zemra_asset_group(globe globe.cpp globe_planet.cpp globe_geometry.cpp)
zemra_asset_group(logo logo.cpp)
zemra_asset_group(credits credits.cpp)
zemra_asset_group(tunnel tunnel.cpp)
zemra_asset_group(magnet magnet.cpp)
zemra_asset_group(music music.cpp music_xm.cpp music_synth.cpp music_drum_kit.cpp music_tonal.cpp
  music_theory.cpp music_score.cpp music_form.cpp music_part_rhythm.cpp music_part_harmony.cpp
  music_part_melody.cpp music_part_accents.cpp)
zemra_asset_group(pole pole.cpp)
zemra_asset_group(fractal fractal.cpp)
zemra_asset_group(water water.cpp)
zemra_asset_group(ending ending.cpp)
zemra_asset_group(voxel voxel.cpp voxel_terrain.cpp)
zemra_asset_group(typewriter typewriter.cpp)
zemra_asset_group(tube tube.cpp)
zemra_asset_group(shaft shaft.cpp)
