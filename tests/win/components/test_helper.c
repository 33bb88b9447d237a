/* A library the test component needs; it lies only in the component's own folder. */
__declspec(dllexport) int kestrelTestHelper(void) { return 42; }
