// INI files read and written through the system's profile functions. A file name without a
// directory lies in the Windows directory. Section and key names compare without regard to
// case. The system may strip quotes and blanks around a value as it reads it.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace kestrel::os {

class Profile {
  public:
    virtual ~Profile() = default;
    // The key's whole value, however long; nothing when the key (or its section) is missing.
    virtual std::optional<std::string>
    readValue(const std::string& file, const std::string& section, const std::string& key) = 0;
    virtual bool sectionExists(const std::string& file, const std::string& section) = 0;
    // Sets the key, making the file and the section when they are missing; the change is on
    // disk when this returns true.
    virtual bool writeValue(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& value) = 0;
    virtual bool deleteKey(const std::string& file, const std::string& section,
                           const std::string& key) = 0;
    virtual bool deleteSection(const std::string& file, const std::string& section) = 0;
};

std::unique_ptr<Profile> makeNativeProfile();

} // namespace kestrel::os
