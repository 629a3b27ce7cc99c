#pragma once

#include <string>

namespace lunor::test {

// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes. path() ends with '/'.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + name; }

    // Writes a file below the folder (sub-folders are created); returns its full path.
    std::string write(const std::string &name, const std::string &bytes) const;
    // The content of a file below the folder; empty when it does not exist.
    std::string read(const std::string &name) const;
    bool exists(const std::string &name) const;

private:
    std::string m_path;
};

// Copies a fixture plug-in module (built by the tests' CMake) into a folder under a name.
void copyFixturePlugin(const std::string &fixtureName, const std::string &targetPath);

} // namespace lunor::test
