// Windows' folders, version value, processor and environment, for starting an installation.
#include "os/native_machine.h"

#include <windows.h>

namespace kestrel::os {
namespace {

// A folder the system reports, read whole however long it is, without a trailing backslash.
template <typename Query> std::string folder(Query query) {
    std::string text(MAX_PATH, '\0');
    for (;;) {
        const UINT length = query(text.data(), static_cast<UINT>(text.size()));
        if (length == 0)
            return {};
        if (length < text.size()) {
            text.resize(length);
            break;
        }
        text.resize(length); // too small: length is the size needed
    }
    if (text.size() > 3 && text.back() == '\\')
        text.pop_back();
    return text;
}

class Win32SystemDetails final : public SystemDetails {
  public:
    std::string windowsDirectory() override {
        return folder([](char* buffer, UINT size) { return GetWindowsDirectoryA(buffer, size); });
    }
    std::string systemDirectory() override {
        return folder([](char* buffer, UINT size) { return GetSystemDirectoryA(buffer, size); });
    }

    uint32_t versionValue() override {
        // GetVersion is what scripts were written against; its value is what they compare.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        return GetVersion();
#pragma GCC diagnostic pop
    }

    ProcessorFamily processorFamily() override {
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        switch (info.dwProcessorType) {
        case PROCESSOR_INTEL_386:
            return ProcessorFamily::I386;
        case PROCESSOR_INTEL_486:
            return ProcessorFamily::I486;
        default:
            return ProcessorFamily::Pentium;
        }
    }

    std::optional<std::string> environmentVariable(const std::string& name) override {
        std::string value(256, '\0');
        for (;;) {
            SetLastError(ERROR_SUCCESS);
            const DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(),
                                                         static_cast<DWORD>(value.size()));
            if (length == 0)
                return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt
                                                                : std::optional<std::string>("");
            if (length < value.size()) {
                value.resize(length);
                return value;
            }
            value.resize(length);
        }
    }
};

} // namespace

std::unique_ptr<SystemDetails> makeNativeSystemDetails() {
    return std::make_unique<Win32SystemDetails>();
}

} // namespace kestrel::os
