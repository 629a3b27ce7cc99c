#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace lunor::platform {
namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// '*' any run of characters, '?' one character, everything else itself without regard to
// ASCII case.
bool wildcardMatch(const char *pattern, const char *name)
{
    const char *starPattern = nullptr;
    const char *starName = nullptr;
    while (*name) {
        if (*pattern == '*') {
            starPattern = ++pattern;
            starName = name;
        } else if (*pattern == '?' || (*pattern && lowerAscii(*pattern) == lowerAscii(*name))) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}

std::string errorText(const std::string &what, const std::string &path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

} // namespace

std::string executablePath()
{
    std::string buffer(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0)
        return {};
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
}

std::string executableDirectory()
{
    const std::string path = executablePath();
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::vector<std::string> listDirectory(const std::string &folder, const std::string &pattern)
{
    std::vector<std::string> names;
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent *entry = readdir(dir)) {
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        if (wildcardMatch(pattern.c_str(), name))
            names.emplace_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool fileExists(const std::string &path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0;
}

bool removeFile(const std::string &path)
{
    return unlink(path.c_str()) == 0;
}

std::optional<std::string> readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return content.str();
}

void writeFileAtomically(const std::string &path, const std::string &bytes)
{
    const auto slash = path.rfind('/');
    const std::string folder
        = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        throw WriteError(errorText("cannot create a temporary file for", path));

    const char *data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            const std::string message = errorText("cannot write", temporary);
            close(fd);
            unlink(temporary.c_str());
            throw WriteError(message);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    // The new file gets the usual permissions, not mkstemp's private 0600.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    if (fsync(fd) != 0 || close(fd) != 0) {
        const std::string message = errorText("cannot flush", temporary);
        unlink(temporary.c_str());
        throw WriteError(message);
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string message = errorText("cannot replace", path);
        unlink(temporary.c_str());
        throw WriteError(message);
    }
    // Make the rename itself durable.
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
}

} // namespace lunor::platform
