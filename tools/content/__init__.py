"""The content generator: builds, checks and packs the game's data root."""
