# One line per group of generated resources: its name and its sources.
zemra_asset_group(objects objects.cpp object_chunks.cpp object_shapes.cpp)
zemra_asset_group(font font.cpp)
zemra_asset_group(globe globe.cpp globe_planet.cpp globe_geometry.cpp)
zemra_asset_group(logo logo.cpp)
zemra_asset_group(credits credits.cpp)
