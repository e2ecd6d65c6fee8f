# One line per group of generated resources: its name and its sources.
zemra_asset_group(objects objects.cpp object_chunks.cpp object_shapes.cpp)
zemra_asset_group(font font.cpp)
