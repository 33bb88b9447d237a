/* A component for the self-registration tests. Its DllRegisterServer answers S_OK only when
   COM is ready on the calling thread and the helper library beside it could be loaded; built
   with FAIL_STATUS it answers that status instead, and with NO_SERVER it has no
   DllRegisterServer at all. */
#include <objbase.h>
#include <windows.h>

__declspec(dllimport) int kestrelTestHelper(void);

#if defined(NO_SERVER)
__declspec(dllexport) int notAServer(void) { return kestrelTestHelper(); }
#else
STDAPI DllRegisterServer(void) {
#if defined(FAIL_STATUS)
    return FAIL_STATUS;
#else
    /* S_FALSE: COM was initialised already, as it must be. Balanced either way. */
    HRESULT com = CoInitialize(NULL);
    if (SUCCEEDED(com))
        CoUninitialize();
    return com == S_FALSE && kestrelTestHelper() == 42 ? S_OK : E_UNEXPECTED;
#endif
}
#endif
