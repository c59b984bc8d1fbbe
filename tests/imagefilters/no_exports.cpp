// A shared library that is no plug-in: it lacks the two exports.
extern "C" __attribute__((visibility("default"))) int SomethingElse() {
    return 42;
}
