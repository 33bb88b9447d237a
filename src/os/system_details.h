// What starting an installation reads from Windows itself: its folders, its version value, the
// processor family (for MINCPUTYPE) and the process's environment.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrel::os {

// The processor families a script can ask for; later processors count as Pentium.
enum class ProcessorFamily : int32_t { I386 = 386, I486 = 486, Pentium = 586 };

class SystemDetails {
  public:
    virtual ~SystemDetails() = default;
    // The Windows folder and the system folder, without a trailing backslash.
    virtual std::string windowsDirectory() = 0;
    virtual std::string systemDirectory() = 0;
    // The system's version value: Windows major and minor in the two low bytes, DOS major and
    // minor in the high byte and the one below it.
    virtual uint32_t versionValue() = 0;
    virtual ProcessorFamily processorFamily() = 0;
    // A variable of the process's environment; nothing when it is not set.
    virtual std::optional<std::string> environmentVariable(const std::string& name) = 0;
};

} // namespace kestrel::os
