#include "shell/path_helpers.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "session/messages.h"

namespace fs = std::filesystem;

namespace {

std::size_t LastSeparator(const std::string& path)
{
    const std::size_t at = path.find_last_of("\\/");
    return at;
}

fs::path NativePath(const std::string& path)
{
#ifdef _WIN32
    return fs::path(path);
#else
    std::string converted = path;
    for (char& c : converted) if (c == '\\') c = '/';
    return fs::path(converted);
#endif
}

}  // namespace

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

std::string ReplaceExtension(const std::string& path, const std::string& extension)
{
    if (path.empty()) return "";
    const std::size_t separator = LastSeparator(path);
    const std::size_t dot = path.find_last_of('.');
    const bool dotInName = dot != std::string::npos && (separator == std::string::npos || dot > separator);
    return (dotInName ? path.substr(0, dot) : path) + "." + extension;
}

std::string GetPathDirectory(const std::string& path)
{
    if (path.empty()) return "";
    const std::size_t separator = LastSeparator(path);
    if (separator == std::string::npos) return path + "\\";
    return path.substr(0, separator + 1);
}

std::string CompleteConfigName(const std::string& name)
{
    std::string result = name;
    if (!result.empty() && IsPathSeparator(result.back())) result += "tolvi";
    const std::size_t separator = LastSeparator(result);
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    if (result.find('.', nameStart) == std::string::npos) result += ".wcf";
    return result;
}

bool IsBareName(const std::string& name) { return name.find_first_of(":\\/") == std::string::npos; }

bool FileReadable(const std::string& path)
{
    if (path.empty()) return false;
    std::error_code error;
    if (fs::is_directory(NativePath(path), error)) return false;
    std::FILE* f = std::fopen(NativePath(path).string().c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

std::string FindAlongPath(const std::string& name)
{
    if (name.empty()) return "";
    if (!IsBareName(name)) return FileReadable(name) ? name : "";
    std::error_code error;
    const fs::path here = fs::current_path(error) / name;
    if (!error && FileReadable(here.string())) return here.string();
    const char* path = std::getenv("PATH");
#ifdef _WIN32
    const char listSeparator = ';';
#else
    const char listSeparator = ':';
#endif
    std::string folders = path ? path : "";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(listSeparator, start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = folders.substr(start, end - start);
        if (!folder.empty()) {
            const fs::path candidate = NativePath(folder) / name;
            if (FileReadable(candidate.string())) return candidate.string();
        }
        start = end + 1;
    }
    return "";
}

int CopyOrAppendFile(const std::string& source, const std::string& target, bool append)
{
    std::error_code error;
    if (fs::exists(NativePath(target), error) && fs::equivalent(NativePath(source), NativePath(target), error))
        return -1;  // never empty a file onto itself
    std::FILE* in = std::fopen(NativePath(source).string().c_str(), "rb");
    if (!in) return -1;
    std::FILE* out = nullptr;
    if (append) out = std::fopen(NativePath(target).string().c_str(), "ab");
    if (!out) out = std::fopen(NativePath(target).string().c_str(), "wb");
    if (!out) {
        std::fclose(in);
        return -1;
    }
    char block[4096];
    int result = 0;
    for (;;) {
        const std::size_t n = std::fread(block, 1, sizeof block, in);
        if (n == 0) {
            result = std::ferror(in) ? -1 : 0;
            break;
        }
        if (std::fwrite(block, 1, n, out) != n) {
            result = -1;
            break;
        }
    }
    std::fclose(in);
    if (std::fclose(out) != 0) result = -1;
    return result;
}

std::string PadNetbiosName(const std::string& name)
{
    std::string padded = name.substr(0, 16);
    padded.resize(16, ' ');
    return padded;
}

int ChangeToPathDirectory(const std::string& path)
{
    if (path.empty()) return -1;
    std::string folder = GetPathDirectory(path);
    // A bare file name has no folder part to change to.
    if (LastSeparator(path) == std::string::npos) {
        const std::size_t colon = path.find(':');
        if (colon == std::string::npos) return 0;
        folder = path.substr(0, colon + 1) + "\\";
    }
    if (folder.size() > 1 && IsPathSeparator(folder.back()) && folder[folder.size() - 2] != ':') folder.pop_back();
    std::error_code error;
    fs::current_path(NativePath(folder), error);
    if (error) {
        ShowMessage(82, kMsgOk | kMsgIconStop, "%s", folder.c_str());
        return 1;
    }
    return 0;
}
