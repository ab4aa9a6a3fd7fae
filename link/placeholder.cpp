// Placeholder until the link lands.
