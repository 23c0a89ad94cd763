// The library of its own that the planted model with a stray dependency
// needs at load.
extern "C" __attribute__((visibility("default"))) double PlantedHelperScale() { return 1.0; }
