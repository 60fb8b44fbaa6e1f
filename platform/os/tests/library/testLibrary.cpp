// A small library that the dynamic library tests load.
extern "C" {

int osTestAnswer() {
    return 42;
}

extern const char osTestName[] = "test library";
}
