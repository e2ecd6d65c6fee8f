# One line per group of generated resources: its name and its sources. A
# scene's group and files carry the scene's script name.
zemra_asset_group(objects objects.cpp object_chunks.cpp object_shapes.cpp)
zemra_asset_group(font font.cpp)
zemra_asset_group(worldefu worldefu.cpp worldefu_planet.cpp worldefu_geometry.cpp)
zemra_asset_group(logoefu logoefu.cpp)
zemra_asset_group(venkuefu venkuefu.cpp)
zemra_asset_group(tunnelefu tunnelefu.cpp)
zemra_asset_group(magnetefu magnetefu.cpp)
zemra_asset_group(music music/soundtrack.cpp music/xm.cpp music/synth.cpp music/drum_kit.cpp
  music/tonal.cpp music/theory.cpp music/score.cpp music/form.cpp music/part_rhythm.cpp
  music/part_harmony.cpp music/part_melody.cpp music/part_accents.cpp)
zemra_asset_group(tolppaefu tolppaefu.cpp)
zemra_asset_group(fractalefu fractalefu.cpp)
zemra_asset_group(vesiefu vesiefu.cpp)
zemra_asset_group(loppuefu loppuefu.cpp)
zemra_asset_group(voxelefu voxelefu.cpp voxelefu_terrain.cpp)
zemra_asset_group(spriteefu spriteefu.cpp)
zemra_asset_group(muljuefu muljuefu.cpp)
zemra_asset_group(holeefu holeefu.cpp)
# The program's icon: files for the Windows program and desktops, and the windows' icon.
zemra_asset_group(icon icon.cpp)
