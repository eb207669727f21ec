// A shared library without the engine's export, for the binding's failure path.
extern "C" __attribute__((visibility("default"))) int NotTheEngine() {
    return 0;
}
