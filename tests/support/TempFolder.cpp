#include "TempFolder.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace lunor::test {

TempFolder::TempFolder()
{
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = fs::temp_directory_path()
            / ("lunor-test-" + std::to_string(random()) + "-" + std::to_string(attempt));
        if (fs::create_directory(candidate)) {
            m_path = candidate.string() + "/";
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    // Give back write permission that a test may have taken away, then remove everything.
    for (auto it = fs::recursive_directory_iterator(m_path, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(m_path, ignored);
}

std::string TempFolder::write(const std::string &name, const std::string &bytes) const
{
    const fs::path target = fs::path(m_path) / name;
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << bytes;
    return target.string();
}

std::string TempFolder::read(const std::string &name) const
{
    std::ifstream in(fs::path(m_path) / name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool TempFolder::exists(const std::string &name) const
{
    return fs::exists(fs::path(m_path) / name);
}

void copyFixturePlugin(const std::string &fixtureName, const std::string &targetPath)
{
    const fs::path source = fs::path(LUNOR_FIXTURE_PLUGIN_DIR) / fixtureName;
    fs::create_directories(fs::path(targetPath).parent_path());
    fs::copy_file(source, targetPath, fs::copy_options::overwrite_existing);
}

} // namespace lunor::test
