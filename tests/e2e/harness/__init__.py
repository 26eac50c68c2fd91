"""Pieces of the end-to-end driver: X server, Wine prefix, probe, pictures."""
