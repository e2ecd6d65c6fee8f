# One line per group of generated resources: its name and its sources.
